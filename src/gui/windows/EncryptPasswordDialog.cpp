#include "gui/windows/EncryptPasswordDialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "base/SecureWipe.h"
#include "config/LangIndices.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/PasswordField.h"
#include "gui/windows/SettingsWindow.h"
#include "platform/platform.h"

namespace vaultwing {

void CentreOnScreen(QWidget* window) {
    // The layouts first take the texts as they are now: inner ones pass their new sizes up
    // through posted requests, and a window sized by its layout keeps its old size until then.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout* layout = window->layout()) layout->activate();
    window->adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void FitHeight(QWidget* window) {
    QLayout* layout = window->layout();
    layout->activate();
    // Long labels (German) widen the window rather than squeeze the password fields.
    if (const int width = layout->totalMinimumSize().width(); width > window->width()) window->setFixedWidth(width);
    const int height =
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(window->width()) : layout->totalSizeHint().height();
    if (height == window->height() && window->minimumHeight() == height) return;
    // A dialog not yet shown keeps its centre; a shown one stays where the user sees it.
    if (!window->isVisible()) window->move(window->x(), window->y() - (height - window->height()) / 2);
    window->setFixedHeight(height);
}

void ShowCapsLock(QtUi& ui, QLabel* indicator) {
    const bool on = platform::CapsLockOn();
    const QString style =
        on ? QStringLiteral("color: rgb(255, 0, 0); font-weight: bold;") : QStringLiteral("color: black;");
    const QString text = UiText(ui.App().Text(on ? lang::kCapsLockOn : lang::kCapsLockOff));
    // Every 100 ms: only a change is worth a new style.
    if (indicator->styleSheet() != style) indicator->setStyleSheet(style);
    if (indicator->text() != text) indicator->setText(text);
}

void FlipDeleteMode(QtUi& ui) {
    // Through the settings window's check box, whose action stores the mode and both hints.
    ui.Settings().FlipDeleteSources();
}

// The parts both dialogs share: title row, hint labels, buttons.
namespace {

QLabel* TitleLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* IconLabel(QWidget* parent) {
    auto* icon = new QLabel(parent);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(artwork::AppIcon().pixmap(40, 40));
    icon->setFixedSize(40, 40);
    return icon;
}

} // namespace

EncryptPasswordDialog::EncryptPasswordDialog(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), ui_(ui) {
    setObjectName(QStringLiteral("EncryptPasswordDialog"));
    setWindowIcon(artwork::AppIcon());

    titleLabel_ = TitleLabel(this, "titleLabel");
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("passwordFrame"));
    frame->setFrameShape(QFrame::StyledPanel);

    passwordLabel_ = new QLabel(frame);
    passwordLabel_->setObjectName(QStringLiteral("passwordLabel"));
    repeatLabel_ = new QLabel(frame);
    repeatLabel_->setObjectName(QStringLiteral("repeatLabel"));
    for (int i = 0; i < 2; ++i) {
        passwordFields_[i] = new PasswordField(frame);
        passwordFields_[i]->setObjectName(QStringLiteral("passwordFields_%1").arg(i));
        passwordFields_[i]->setMinimumWidth(200);
        connect(passwordFields_[i], &QLineEdit::textChanged, this, [this] { onPasswordChanged(); });
    }
    // Enter in the first field goes on to the second, as Tab would; in the second it is OK.
    connect(passwordFields_[0], &PasswordField::enterPressed, this,
            [this] { passwordFields_[1]->setFocus(Qt::TabFocusReason); });
    connect(passwordFields_[1], &PasswordField::enterPressed, this, [this] { onOkClicked(); });
    passwordLabel_->setBuddy(passwordFields_[0]);
    repeatLabel_->setBuddy(passwordFields_[1]);

    revealButton_ = new QPushButton(frame);
    revealButton_->setObjectName(QStringLiteral("revealButton"));
    revealButton_->setFixedWidth(32);
    connect(revealButton_, &QPushButton::clicked, this, [this] { onRevealClicked(); });

    qualityLabel_ = new QLabel(frame);
    qualityLabel_->setObjectName(QStringLiteral("qualityLabel"));

    auto* grid = new QGridLayout(frame);
    grid->addWidget(passwordLabel_, 0, 0);
    grid->addWidget(passwordFields_[0], 0, 1);
    grid->addWidget(revealButton_, 0, 2);
    grid->addWidget(repeatLabel_, 1, 0);
    grid->addWidget(passwordFields_[1], 1, 1);
    grid->addWidget(qualityLabel_, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    hintLabel_ = new QLabel(this);
    hintLabel_->setObjectName(QStringLiteral("hintLabel"));
    hintLabel_->setWordWrap(true);
    hintLabel_->setStyleSheet(QStringLiteral("color: #505860;"));
    capsLockLabel_ = new QLabel(this);
    capsLockLabel_->setObjectName(QStringLiteral("capsLockLabel"));
    deleteModeLabel_ = new ClickLabel(this);
    deleteModeLabel_->setObjectName(QStringLiteral("deleteModeLabel"));
    deleteModeLabel_->setStyleSheet(QStringLiteral("color: palette(link);"));
    connect(deleteModeLabel_, &ClickLabel::clicked, this, [this] { onDeleteModeClicked(); });

    okButton_ = new QPushButton(this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setMinimumWidth(110);
    connect(okButton_, &QPushButton::clicked, this, [this] { onOkClicked(); });

    capsLockTimer_ = new QTimer(this);
    capsLockTimer_->setInterval(100);
    connect(capsLockTimer_, &QTimer::timeout, this, [this] { onCapsLockTimer(); });

    auto* title = new QHBoxLayout;
    title->addWidget(IconLabel(this));
    title->addWidget(titleLabel_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(capsLockLabel_, 1);
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(frame);
    layout->addWidget(hintLabel_);
    layout->addWidget(deleteModeLabel_);
    layout->addLayout(buttons);
    setFixedWidth(420);
    CloseOnEscape(this);
}

void EncryptPasswordDialog::Load() {
    ui_.ApplyLanguage();
    capsLockTimer_->start();
    onCapsLockTimer();
    revealButton_->setText(QStringLiteral("A"));
    passwordFields_[0]->setRevealed(false);
    passwordFields_[1]->setRevealed(false);
    FitHeight(this);
    CentreOnScreen(this);
}

void EncryptPasswordDialog::Open() {
    FitHeight(this);
    KeepClearOfDropZone(ui_, this);
    show();
    raise();
    activateWindow();
    passwordFields_[0]->setFocus(Qt::OtherFocusReason);
}

bool EncryptPasswordDialog::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) onActivated();
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::LayoutRequest) FitHeight(this); // a text changed
    return handled;
}

void EncryptPasswordDialog::onActivated() {
    deleteModeLabel_->update();
}

void EncryptPasswordDialog::closeEvent(QCloseEvent* e) {
    e->accept();
    Unload();
}

void EncryptPasswordDialog::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    capsLockTimer_->stop();
    passwordFields_[0]->clear();
    passwordFields_[1]->clear();
    ui_.Unloaded(this);
    Guarded([&] { ui_.App().PasswordDialogUnloaded(PasswordDialog::Encrypt); });
}

void EncryptPasswordDialog::ClearFields() {
    passwordFields_[0]->clear();
    passwordFields_[1]->clear();
    passwordFields_[0]->setFocus(Qt::OtherFocusReason);
}

void EncryptPasswordDialog::SetDeleteModeHint(const QString& text) {
    deleteModeLabel_->setText(text);
    FitHeight(this);
}

void EncryptPasswordDialog::onPasswordChanged() {
    // The meter follows the first field only, whichever field changed.
    std::string password = passwordFields_[0]->text().toStdString();
    qualityLabel_->setText(UiText(ui_.App().QualityText(password)));
    WipeString(password);
}

void EncryptPasswordDialog::onCapsLockTimer() {
    ShowCapsLock(ui_, capsLockLabel_);
}

void EncryptPasswordDialog::onRevealClicked() {
    const bool reveal = revealButton_->text() == QStringLiteral("A");
    passwordFields_[0]->setRevealed(reveal);
    passwordFields_[1]->setRevealed(reveal);
    revealButton_->setText(reveal ? QStringLiteral("*") : QStringLiteral("A"));
}

void EncryptPasswordDialog::onDeleteModeClicked() {
    FlipDeleteMode(ui_);
}

void EncryptPasswordDialog::onOkClicked() {
    std::string password = passwordFields_[0]->text().toStdString();
    std::string repetition = passwordFields_[1]->text().toStdString();
    Guarded([&] { (void)ui_.App().EncryptOk(password, repetition); });
    WipeString(password);
    WipeString(repetition);
}

} // namespace vaultwing
