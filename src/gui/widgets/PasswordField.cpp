#include "gui/widgets/PasswordField.h"

#include <QKeyEvent>
#include <QValidator>

#include "password/KeyInput.h"

namespace vaultwing {
namespace {

bool Accepted(const QString& text) {
    for (const char32_t c : text.toUcs4())
        if (!IsKeyCharacter(c)) return false;
    return true;
}

// Whatever reaches the field (a paste, a drop, an input method) loses the characters a
// password may not hold; the rest stays.
class KeyValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        if (Accepted(input)) return Acceptable;
        const QList<uint> codes = input.toUcs4();
        QString kept;
        int keptBeforeCursor = 0;
        int index = 0; // UTF-16 position of the current character
        for (const uint code : codes) {
            const char32_t c = code;
            const QString character = QString::fromUcs4(&c, 1);
            if (IsKeyCharacter(code)) {
                kept += character;
                if (index < position) keptBeforeCursor += static_cast<int>(character.size());
            }
            index += static_cast<int>(character.size());
        }
        input = kept;
        position = keptBeforeCursor;
        return Acceptable;
    }
};

} // namespace

PasswordField::PasswordField(QWidget* parent) : QLineEdit(parent) {
    setEchoMode(QLineEdit::Password);
    // "*" for every character, whatever the desktop style would draw.
    setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    setValidator(new KeyValidator(this));
    setClearButtonEnabled(false);
}

void PasswordField::setRevealed(bool revealed) {
    setEchoMode(revealed ? QLineEdit::Normal : QLineEdit::Password);
}

void PasswordField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed();
        return;
    }
    // Characters typed: codes 33..255 but DEL, and Backspace go in, every other key that would type
    // something (a space, a control character) is discarded. Keys that type nothing (arrows,
    // Delete, Home) and shortcuts (paste, undo) work as in any text box.
    const bool shortcut = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    const QString text = event->text();
    if (!shortcut && !text.isEmpty() && event->key() != Qt::Key_Backspace && !Accepted(text)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace vaultwing
