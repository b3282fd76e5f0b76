#include "gui/windows/DecryptPasswordDialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/SecureWipe.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/PasswordField.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {

DecryptPasswordDialog::DecryptPasswordDialog(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), ui_(ui) {
    setObjectName(QStringLiteral("DecryptPasswordDialog"));
    setWindowIcon(artwork::AppIcon());

    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName(QStringLiteral("titleLabel"));
    QFont font = titleLabel_->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(true);
    titleLabel_->setFont(font);
    auto* icon = new QLabel(this);
    icon->setPixmap(artwork::AppIcon().pixmap(40, 40));
    icon->setFixedSize(40, 40);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("passwordFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    passwordLabel_ = new QLabel(frame);
    passwordLabel_->setObjectName(QStringLiteral("passwordLabel"));
    passwordField_ = new PasswordField(frame);
    passwordField_->setObjectName(QStringLiteral("passwordField"));
    passwordField_->setMinimumWidth(200);
    passwordLabel_->setBuddy(passwordField_);
    connect(passwordField_, &PasswordField::enterPressed, this, [this] { onOkClicked(); });
    revealButton_ = new QPushButton(frame);
    revealButton_->setObjectName(QStringLiteral("revealButton"));
    revealButton_->setFixedWidth(32);
    connect(revealButton_, &QPushButton::clicked, this, [this] { onRevealClicked(); });
    auto* grid = new QGridLayout(frame);
    grid->addWidget(passwordLabel_, 0, 0);
    grid->addWidget(passwordField_, 0, 1);
    grid->addWidget(revealButton_, 0, 2);
    grid->setColumnStretch(1, 1);

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
    title->addWidget(icon);
    title->addWidget(titleLabel_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(capsLockLabel_, 1);
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(frame);
    layout->addWidget(deleteModeLabel_);
    layout->addLayout(buttons);
    setFixedWidth(420);
    CloseOnEscape(this);
}

void DecryptPasswordDialog::Load() {
    ui_.ApplyLanguage();
    capsLockTimer_->start();
    onCapsLockTimer();
    revealButton_->setText(QStringLiteral("A"));
    passwordField_->setRevealed(false);
    FitHeight(this);
    CentreOnScreen(this);
}

void DecryptPasswordDialog::Open() {
    FitHeight(this);
    KeepClearOfDropZone(ui_, this);
    show();
    raise();
    activateWindow();
    passwordField_->setFocus(Qt::OtherFocusReason);
}

bool DecryptPasswordDialog::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) onActivated();
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::LayoutRequest) FitHeight(this); // a text changed
    return handled;
}

void DecryptPasswordDialog::onActivated() {
    deleteModeLabel_->update();
}

void DecryptPasswordDialog::closeEvent(QCloseEvent* e) {
    e->accept();
    Unload();
}

void DecryptPasswordDialog::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    capsLockTimer_->stop();
    passwordField_->clear();
    ui_.Unloaded(this);
    Guarded([&] { ui_.App().PasswordDialogUnloaded(PasswordDialog::Decrypt); });
}

void DecryptPasswordDialog::ClearFields() {
    passwordField_->clear();
    passwordField_->setFocus(Qt::OtherFocusReason);
}

void DecryptPasswordDialog::SetDeleteModeHint(const QString& text) {
    deleteModeLabel_->setText(text);
    FitHeight(this);
}

void DecryptPasswordDialog::onCapsLockTimer() {
    ShowCapsLock(ui_, capsLockLabel_);
}

void DecryptPasswordDialog::onRevealClicked() {
    const bool hide = revealButton_->text() == QStringLiteral("*");
    passwordField_->setRevealed(!hide);
    revealButton_->setText(hide ? QStringLiteral("A") : QStringLiteral("*"));
}

void DecryptPasswordDialog::onDeleteModeClicked() {
    FlipDeleteMode(ui_);
}

void DecryptPasswordDialog::onOkClicked() {
    std::string password = passwordField_->text().toStdString();
    Guarded([&] { (void)ui_.App().DecryptOk(password); });
    WipeString(password);
}

} // namespace vaultwing
