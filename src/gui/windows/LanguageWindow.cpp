#include "gui/windows/LanguageWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/LangIndices.h"
#include "app/LanguageChoice.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/windows/EncryptPasswordDialog.h"

namespace vaultwing {

LanguageWindow::LanguageWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("LanguageWindow"));
    setWindowIcon(artwork::AppIcon());

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cboSprachen = new QComboBox(Frame1);
    cboSprachen->setObjectName(QStringLiteral("cboSprachen"));
    // An editable box whose edit field is read-only: the user can only choose from the list,
    // the program can still show any text (the design-time prompt, the stored setting).
    cboSprachen->setEditable(true);
    cboSprachen->setInsertPolicy(QComboBox::NoInsert);
    cboSprachen->lineEdit()->installEventFilter(this);
    cboSprachen->setEditText(QStringLiteral("Sprache / Language"));
    cboSprachen->setMinimumWidth(220);
    connect(cboSprachen, &QComboBox::activated, this, [this](int index) { cboSprachen_Click(index); });
    auto* inner = new QHBoxLayout(Frame1);
    inner->addWidget(cboSprachen);

    cmdSpracheSet = new QPushButton(QStringLiteral("OK"), this);
    cmdSpracheSet->setObjectName(QStringLiteral("cmdSpracheSet"));
    cmdSpracheSet->setDefault(true);
    cmdSpracheSet->setMinimumWidth(90);
    connect(cmdSpracheSet, &QPushButton::clicked, this, [this] { cmdSpracheSet_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSpracheSet);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
}

LanguageWindow::~LanguageWindow() {
    // The combo box outlives this part of the window while Qt deletes the children, and may
    // still report a choice or an event then.
    cboSprachen->disconnect(this);
    cboSprachen->lineEdit()->removeEventFilter(this);
}

void LanguageWindow::Form_Load() {
    ui_.ApplyLanguage();
    CentreOnScreen(this);
    AppState& state = ui_.App().state;
    if (IsDriveRoot(state.programFolder)) {
        (void)ui_.ShowMessage(DriveRootMessage());
        ui_.EndProcessNow();
        return;
    }
    cboSprachen->lineEdit()->setReadOnly(true); // SetComboReadOnly
    const std::vector<std::string> names = LanguageNames(state.programFolder);
    for (const std::string& name : names)
        cboSprachen->addItem(QString::fromStdString(name));
    if (names.empty()) {
        (void)ui_.ShowMessage(NoLanguageFileMessage());
        ui_.EndProcessNow();
        return;
    }
    cboSprachen->setCurrentIndex(-1);
    cboSprachen->setEditText(QStringLiteral("Sprache / Language"));
}

void LanguageWindow::Open() {
    show();
    raise();
    activateWindow();
    cboSprachen->setFocus(Qt::OtherFocusReason);
}

bool LanguageWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(e);
}

// A click into the read-only edit field opens the list, as the arrow does.
bool LanguageWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == cboSprachen->lineEdit() && e->type() == QEvent::MouseButtonPress) {
        cboSprachen->showPopup();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void LanguageWindow::Form_Activate() {
    AppState& state = ui_.App().state;
    if (state.Text(lang::kLanguageWindowCaption).empty()) setWindowTitle(QStringLiteral(" "));
    state.language = state.settings.Text(Setting::Language);
    if (!state.language.empty()) cboSprachen->setEditText(QString::fromStdString(state.language));
}

void LanguageWindow::cboSprachen_Click(int index) {
    if (index < 0) return;
    ChooseLanguage(ui_.App().state, cboSprachen->itemText(index).toStdString());
}

void LanguageWindow::cmdSpracheSet_Click() {
    AppState& state = ui_.App().state;
    if (!state.texts.HasValidHeader()) {
        (void)ui_.ShowMessage(InvalidLanguageFileMessage());
        return;
    }
    Guarded([&] {
        if (state.firstStart) {
            confirming_ = true;
            Form_Unload();
            ui_.App().startup.Main();
        }
        if (!state.firstStart) {
            ui_.ApplyLanguage();
            ui_.ShowHotRegionStatus();
            if (QtUi* ui = &ui_; ui->LanguageIfLoaded() != nullptr) ui->LanguageIfLoaded()->Form_Unload();
        }
    });
}

void LanguageWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    Form_Unload();
}

void LanguageWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    AppState& state = ui_.App().state;
    (void)state.settings.SetText(Setting::Language, state.language);
    const bool firstStartAbandoned = state.firstStart && !confirming_ && !ui_.Quitting();
    ui_.Unloaded(this);
    // Closed at the first start without a confirmed language: no window is left, the program ends.
    if (firstStartAbandoned) ui_.QuitApplication();
}

} // namespace vaultwing
