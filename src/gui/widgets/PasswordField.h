#pragma once
// A password text box: shows "*" for every character until revealed, takes only the
// characters a password may hold (typed or pasted), and reports Enter instead of inserting it.
#include <QLineEdit>

namespace vaultwing {

class PasswordField : public QLineEdit {
    Q_OBJECT
public:
    explicit PasswordField(QWidget* parent = nullptr);

    void setRevealed(bool revealed);

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace vaultwing
