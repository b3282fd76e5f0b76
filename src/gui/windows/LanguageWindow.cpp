#include "gui/windows/LanguageWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/LanguageChoice.h"
#include "config/LangIndices.h"
#include "gui/Artwork.h"
#include "gui/QtUi.h"
#include "gui/WindowRoutines.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "gui/windows/SettingsWindow.h"

namespace vaultwing {
namespace {
// What the window says while no language is loaded, in the two languages we ship.
QString Prompt() {
    return QStringLiteral("Sprache / Language");
}
} // namespace

LanguageWindow::LanguageWindow(QtUi& ui)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui) {
    setObjectName(QStringLiteral("LanguageWindow"));
    setWindowIcon(artwork::AppIcon());

    languageGroup_ = new QGroupBox(this);
    languageGroup_->setObjectName(QStringLiteral("languageGroup"));
    languageBox_ = new QComboBox(languageGroup_);
    languageBox_->setObjectName(QStringLiteral("languageBox"));
    // An editable box whose edit field is read-only: the user can only choose from the list,
    // the program can still show any text (the design-time prompt, the stored setting).
    languageBox_->setEditable(true);
    languageBox_->setInsertPolicy(QComboBox::NoInsert);
    languageBox_->lineEdit()->installEventFilter(this);
    languageBox_->installEventFilter(this); // the keyboard's keys arrive at the box, not its edit field
    languageBox_->setEditText(Prompt());
    languageBox_->setMinimumWidth(220);
    connect(languageBox_, &QComboBox::activated, this, [this](int index) { onLanguageChosen(index); });
    auto* inner = new QHBoxLayout(languageGroup_);
    inner->addWidget(languageBox_);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(90);
    connect(okButton_, &QPushButton::clicked, this, [this] { onOkClicked(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->addWidget(languageGroup_);
    layout->addLayout(buttons);
}

LanguageWindow::~LanguageWindow() {
    // The combo box outlives this part of the window while Qt deletes the children, and may
    // still report a choice or an event then.
    languageBox_->disconnect(this);
    languageBox_->lineEdit()->removeEventFilter(this);
}

void LanguageWindow::Load() {
    ui_.ApplyLanguage();
    CentreOnScreen(this);
    Application& app = ui_.App();
    chosenLanguage_ = app.StoredSettings().Text(Setting::Language);
    if (IsDriveRoot(app.Folders().program)) {
        (void)ui_.ShowMessage(DriveRootMessage());
        ui_.EndProcessNow();
        return;
    }
    languageBox_->lineEdit()->setReadOnly(true);
    const std::vector<std::string> names = LanguageNames(app.Folders().languages);
    for (const std::string& name : names)
        languageBox_->addItem(QString::fromStdString(name));
    if (names.empty()) {
        (void)ui_.ShowMessage(NoLanguageFileMessage());
        ui_.EndProcessNow();
        return;
    }
    languageBox_->setCurrentIndex(-1);
    languageBox_->setEditText(Prompt());
}

void LanguageWindow::Open() {
    // The list starts on the language in use, so Up and Down move on from there.
    const int row = languageBox_->findText(QString::fromStdString(chosenLanguage_), Qt::MatchFixedString);
    if (row >= 0) languageBox_->setCurrentIndex(row);
    KeepClearOfDropZone(ui_, this);
    show();
    raise();
    activateWindow();
    languageBox_->setFocus(Qt::OtherFocusReason);
}

bool LanguageWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) onActivated();
    return QWidget::event(e);
}

// A click into the read-only edit field opens the list, as the arrow does; Enter there is the
// default button's, as in any dialog (the edit field would keep it to itself).
bool LanguageWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == languageBox_->lineEdit() && e->type() == QEvent::MouseButtonPress) {
        languageBox_->showPopup();
        return true;
    }
    if ((watched == languageBox_ || watched == languageBox_->lineEdit()) && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            okButton_->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void LanguageWindow::onActivated() {
    Application& app = ui_.App();
    // Before any language is loaded, the title says what the box says.
    if (app.Text(lang::kLanguageWindowCaption).empty()) setWindowTitle(Prompt());
    chosenLanguage_ = app.StoredSettings().Text(Setting::Language);
    if (!chosenLanguage_.empty()) languageBox_->setEditText(QString::fromStdString(chosenLanguage_));
}

void LanguageWindow::onLanguageChosen(int index) {
    if (index < 0) return;
    chosenLanguage_ = languageBox_->itemText(index).toStdString();
    ui_.App().ChooseLanguage(chosenLanguage_);
}

void LanguageWindow::onOkClicked() {
    Application& app = ui_.App();
    if (!app.LanguageFileValid()) {
        (void)ui_.ShowMessage(InvalidLanguageFileMessage());
        return;
    }
    Guarded([&] {
        if (app.FirstStart()) {
            confirming_ = true;
            Unload();
            app.Start();
        }
        if (!app.FirstStart()) {
            ui_.ApplyLanguage();
            ui_.ShowHotRegionStatus();
            // The settings window took the size of its new texts: centred at that size again.
            if (SettingsWindow* settings = ui_.SettingsIfLoaded()) CentreOnScreen(settings);
            if (QtUi* ui = &ui_; ui->LanguageIfLoaded() != nullptr) ui->LanguageIfLoaded()->Unload();
        }
    });
}

void LanguageWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    Unload();
}

void LanguageWindow::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Application& app = ui_.App();
    app.StoredSettings().SetText(Setting::Language, chosenLanguage_);
    const bool firstStartAbandoned = app.FirstStart() && !confirming_ && !ui_.Quitting();
    ui_.Unloaded(this);
    // Closed at the first start without a confirmed language: no window is left, the program ends.
    if (firstStartAbandoned) ui_.QuitApplication();
}

} // namespace vaultwing
