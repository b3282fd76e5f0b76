#include "gui/windows/DecryptPasswordDialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/SecureWipe.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/PasswordField.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {

DecryptPasswordDialog::DecryptPasswordDialog(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), ui_(ui) {
    setObjectName(QStringLiteral("DecryptPasswordDialog"));
    setWindowIcon(artwork::AppIcon());

    lblBezeichnerKeyDirect = new QLabel(this);
    lblBezeichnerKeyDirect->setObjectName(QStringLiteral("lblBezeichnerKeyDirect"));
    QFont font = lblBezeichnerKeyDirect->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setBold(true);
    lblBezeichnerKeyDirect->setFont(font);
    auto* icon = new QLabel(this);
    icon->setPixmap(artwork::AppIcon().pixmap(40, 40));
    icon->setFixedSize(40, 40);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraKeyDirect"));
    frame->setFrameShape(QFrame::StyledPanel);
    lblKeySmall = new QLabel(frame);
    lblKeySmall->setObjectName(QStringLiteral("lblKeySmall"));
    txtKeyDirect = new PasswordField(frame);
    txtKeyDirect->setObjectName(QStringLiteral("txtKeyDirect"));
    txtKeyDirect->setMinimumWidth(200);
    lblKeySmall->setBuddy(txtKeyDirect);
    connect(txtKeyDirect, &PasswordField::enterPressed, this, [this] { cmdKeyDirect_Click(); });
    cmdCharDirect = new QPushButton(frame);
    cmdCharDirect->setObjectName(QStringLiteral("cmdCharDirect"));
    cmdCharDirect->setFixedWidth(32);
    cmdCharDirect->setFocusPolicy(Qt::NoFocus);
    connect(cmdCharDirect, &QPushButton::clicked, this, [this] { cmdCharDirect_Click(); });
    auto* grid = new QGridLayout(frame);
    grid->addWidget(lblKeySmall, 0, 0);
    grid->addWidget(txtKeyDirect, 0, 1);
    grid->addWidget(cmdCharDirect, 0, 2);
    grid->setColumnStretch(1, 1);

    lblSBKeyDirect = new QLabel(this);
    lblSBKeyDirect->setObjectName(QStringLiteral("lblSBKeyDirect"));
    lblDelHinweis2 = new ClickLabel(this);
    lblDelHinweis2->setObjectName(QStringLiteral("lblDelHinweis2"));
    lblDelHinweis2->setStyleSheet(QStringLiteral("color: palette(link);"));
    connect(lblDelHinweis2, &ClickLabel::clicked, this, [this] { lblDelHinweis2_Click(); });

    cmdKeyDirect = new QPushButton(this);
    cmdKeyDirect->setObjectName(QStringLiteral("cmdKeyDirect"));
    cmdKeyDirect->setMinimumWidth(110);
    connect(cmdKeyDirect, &QPushButton::clicked, this, [this] { cmdKeyDirect_Click(); });

    tmrCapsLockKeyDirect = new QTimer(this);
    tmrCapsLockKeyDirect->setInterval(100);
    connect(tmrCapsLockKeyDirect, &QTimer::timeout, this, [this] { tmrCapsLockKeyDirect_Timer(); });

    auto* title = new QHBoxLayout;
    title->addWidget(icon);
    title->addWidget(lblBezeichnerKeyDirect, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblSBKeyDirect, 1);
    buttons->addWidget(cmdKeyDirect);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(frame);
    layout->addWidget(lblDelHinweis2);
    layout->addLayout(buttons);
    setFixedWidth(420);
}

void DecryptPasswordDialog::Form_Load() {
    ui_.ApplyLanguage();
    tmrCapsLockKeyDirect->start();
    tmrCapsLockKeyDirect_Timer();
    cmdCharDirect->setText(QStringLiteral("A"));
    txtKeyDirect->setRevealed(false);
    CentreOnScreen(this);
}

void DecryptPasswordDialog::Open() {
    show();
    raise();
    activateWindow();
    txtKeyDirect->setFocus(Qt::OtherFocusReason);
}

bool DecryptPasswordDialog::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

void DecryptPasswordDialog::Form_Activate() {
    lblDelHinweis2->update();
    ui_.App().passwords.DialogActivated();
}

void DecryptPasswordDialog::closeEvent(QCloseEvent* e) {
    e->accept();
    Form_Unload();
}

void DecryptPasswordDialog::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    tmrCapsLockKeyDirect->stop();
    txtKeyDirect->clear();
    ui_.Unloaded(this);
    Guarded([&] { ui_.App().passwords.DialogUnloaded(PasswordDialog::Decrypt); });
}

void DecryptPasswordDialog::ClearFields() {
    txtKeyDirect->clear();
    txtKeyDirect->setFocus(Qt::OtherFocusReason);
}

void DecryptPasswordDialog::tmrCapsLockKeyDirect_Timer() {
    ShowCapsLock(ui_, lblSBKeyDirect);
}

void DecryptPasswordDialog::cmdCharDirect_Click() {
    const bool hide = cmdCharDirect->text() == QStringLiteral("*");
    txtKeyDirect->setRevealed(!hide);
    cmdCharDirect->setText(hide ? QStringLiteral("A") : QStringLiteral("*"));
}

void DecryptPasswordDialog::lblDelHinweis2_Click() {
    FlipDeleteMode(ui_);
}

void DecryptPasswordDialog::cmdKeyDirect_Click() {
    std::string password = txtKeyDirect->text().toStdString();
    Guarded([&] { (void)ui_.App().passwords.DecryptOk(password); });
    WipeString(password);
}

} // namespace vaultwing
