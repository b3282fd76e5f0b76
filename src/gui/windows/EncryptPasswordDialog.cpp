#include "gui/windows/EncryptPasswordDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "base/SecureWipe.h"
#include "config/LangIndices.h"
#include "gui/windows/SettingsWindow.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/PasswordField.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "platform/platform.h"

namespace vaultwing {

void CentreOnScreen(QWidget* window) {
    window->adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

void ShowCapsLock(QtUi& ui, QLabel* indicator) {
    const bool on = platform::CapsLockOn();
    const QString style =
        on ? QStringLiteral("color: rgb(255, 0, 0); font-weight: bold;") : QStringLiteral("color: black;");
    const QString text = UiText(ui.App().state.Text(on ? lang::kCapsLockOn : lang::kCapsLockOff));
    // Every 100 ms: only a change is worth a new style.
    if (indicator->styleSheet() != style) indicator->setStyleSheet(style);
    if (indicator->text() != text) indicator->setText(text);
}

void FlipDeleteMode(QtUi& ui) {
    // Through the settings window's check box, whose action stores the mode and both hints.
    QCheckBox* box = ui.Settings().chkFileDel;
    box->setChecked(!box->isChecked());
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
    icon->setObjectName(QStringLiteral("imgInfo"));
    icon->setPixmap(artwork::AppIcon().pixmap(40, 40));
    icon->setFixedSize(40, 40);
    return icon;
}

} // namespace

EncryptPasswordDialog::EncryptPasswordDialog(QtUi& ui) : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), ui_(ui) {
    setObjectName(QStringLiteral("EncryptPasswordDialog"));
    setWindowIcon(artwork::AppIcon());

    lblBezeichnerKey = TitleLabel(this, "lblBezeichnerKey");
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::StyledPanel);

    lblSchluessel = new QLabel(frame);
    lblSchluessel->setObjectName(QString::fromUtf8("lblSchl\xC3\xBCssel"));
    lblWiederholen = new QLabel(frame);
    lblWiederholen->setObjectName(QStringLiteral("lblWiederholen"));
    for (int i = 0; i < 2; ++i) {
        txtKey[i] = new PasswordField(frame);
        txtKey[i]->setObjectName(QStringLiteral("txtKey_%1").arg(i));
        txtKey[i]->setMinimumWidth(200);
        connect(txtKey[i], &QLineEdit::textChanged, this, [this] { txtKey_Change(); });
    }
    // Enter in the first field goes on to the second, as Tab would; in the second it is OK.
    connect(txtKey[0], &PasswordField::enterPressed, this, [this] { txtKey[1]->setFocus(Qt::TabFocusReason); });
    connect(txtKey[1], &PasswordField::enterPressed, this, [this] { cmdKey_Click(); });
    lblSchluessel->setBuddy(txtKey[0]);
    lblWiederholen->setBuddy(txtKey[1]);

    cmdChar = new QPushButton(frame);
    cmdChar->setObjectName(QStringLiteral("cmdChar"));
    cmdChar->setFixedWidth(32);
    cmdChar->setFocusPolicy(Qt::NoFocus);
    connect(cmdChar, &QPushButton::clicked, this, [this] { cmdChar_Click(); });

    lblKeyQuality = new QLabel(frame);
    lblKeyQuality->setObjectName(QStringLiteral("lblKeyQuality"));

    auto* grid = new QGridLayout(frame);
    grid->addWidget(lblSchluessel, 0, 0);
    grid->addWidget(txtKey[0], 0, 1);
    grid->addWidget(cmdChar, 0, 2);
    grid->addWidget(lblWiederholen, 1, 0);
    grid->addWidget(txtKey[1], 1, 1);
    grid->addWidget(lblKeyQuality, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    lblHinweis = new QLabel(this);
    lblHinweis->setObjectName(QStringLiteral("lblHinweis"));
    lblHinweis->setWordWrap(true);
    lblHinweis->setStyleSheet(QStringLiteral("color: #505860;"));
    lblSBKey = new QLabel(this);
    lblSBKey->setObjectName(QStringLiteral("lblSBKey"));
    lblDelHinweis = new ClickLabel(this);
    lblDelHinweis->setObjectName(QStringLiteral("lblDelHinweis"));
    lblDelHinweis->setStyleSheet(QStringLiteral("color: palette(link);"));
    connect(lblDelHinweis, &ClickLabel::clicked, this, [this] { lblDelHinweis_Click(); });

    cmdKey = new QPushButton(this);
    cmdKey->setObjectName(QStringLiteral("cmdKey"));
    cmdKey->setMinimumWidth(110);
    connect(cmdKey, &QPushButton::clicked, this, [this] { cmdKey_Click(); });

    tmrCapsLockKey = new QTimer(this);
    tmrCapsLockKey->setInterval(100);
    connect(tmrCapsLockKey, &QTimer::timeout, this, [this] { tmrCapsLockKey_Timer(); });

    auto* title = new QHBoxLayout;
    title->addWidget(IconLabel(this));
    title->addWidget(lblBezeichnerKey, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblSBKey, 1);
    buttons->addWidget(cmdKey);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(title);
    layout->addWidget(frame);
    layout->addWidget(lblHinweis);
    layout->addWidget(lblDelHinweis);
    layout->addLayout(buttons);
    setFixedWidth(420);
}

void EncryptPasswordDialog::Form_Load() {
    ui_.ApplyLanguage();
    tmrCapsLockKey->start();
    tmrCapsLockKey_Timer();
    cmdChar->setText(QStringLiteral("A"));
    txtKey[0]->setRevealed(false);
    txtKey[1]->setRevealed(false);
    CentreOnScreen(this);
}

void EncryptPasswordDialog::Open() {
    show();
    raise();
    activateWindow();
    txtKey[0]->setFocus(Qt::OtherFocusReason);
}

bool EncryptPasswordDialog::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

void EncryptPasswordDialog::Form_Activate() {
    lblDelHinweis->update();
    ui_.App().passwords.DialogActivated();
}

void EncryptPasswordDialog::closeEvent(QCloseEvent* e) {
    e->accept();
    Form_Unload();
}

void EncryptPasswordDialog::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    tmrCapsLockKey->stop();
    txtKey[0]->clear();
    txtKey[1]->clear();
    ui_.Unloaded(this);
    Guarded([&] { ui_.App().passwords.DialogUnloaded(PasswordDialog::Encrypt); });
}

void EncryptPasswordDialog::ClearFields() {
    txtKey[0]->clear();
    txtKey[1]->clear();
    txtKey[0]->setFocus(Qt::OtherFocusReason);
}

void EncryptPasswordDialog::txtKey_Change() {
    // The meter follows the first field only, whichever field changed.
    std::string password = txtKey[0]->text().toStdString();
    lblKeyQuality->setText(UiText(ui_.App().passwords.QualityText(password)));
    WipeString(password);
}

void EncryptPasswordDialog::tmrCapsLockKey_Timer() {
    ShowCapsLock(ui_, lblSBKey);
}

void EncryptPasswordDialog::cmdChar_Click() {
    const bool reveal = cmdChar->text() == QStringLiteral("A");
    txtKey[0]->setRevealed(reveal);
    txtKey[1]->setRevealed(reveal);
    cmdChar->setText(reveal ? QStringLiteral("*") : QStringLiteral("A"));
}

void EncryptPasswordDialog::lblDelHinweis_Click() {
    FlipDeleteMode(ui_);
}

void EncryptPasswordDialog::cmdKey_Click() {
    std::string password = txtKey[0]->text().toStdString();
    std::string repetition = txtKey[1]->text().toStdString();
    Guarded([&] { (void)ui_.App().passwords.EncryptOk(password, repetition); });
    WipeString(password);
    WipeString(repetition);
}

} // namespace vaultwing
