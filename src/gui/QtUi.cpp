#include "gui/QtUi.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>

#include "gui/Artwork.h"
#include "gui/WindowRoutines.h"
#include "gui/windows/AboutWindow.h"
#include "gui/windows/DecryptPasswordDialog.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "gui/windows/FavouritesWindow.h"
#include "gui/windows/LanguageWindow.h"
#include "gui/windows/ProgressWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "platform/platform.h"

namespace vaultwing {

QString UiText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QtUi::QtUi() = default;

QtUi::~QtUi() {
    DeleteWindows();
}

void QtUi::DeleteWindows() {
    // Windows still loaded at the end go without their unload steps (nothing is saved here).
    for (QPointer<QWidget>& window : unloaded_)
        delete window.data();
    unloaded_.clear();
    delete about_.data(); // owned by the drop zone: before it
    delete favourites_.data();
    delete settings_.data();
    delete language_.data();
    delete progress_.data();
    delete decryptDialog_.data();
    delete encryptDialog_.data();
    delete dropZone_.data();
    vaultwing::ShowTrayIcon(false);
}

template <typename W> W& QtUi::LoadWindow(QPointer<W>& slot) {
    if (!slot) {
        slot = new W(*this);
        // The pointer is set before the load steps, so a window they touch again (ApplyLanguage
        // from its own load) is not created a second time.
        slot->Load();
    }
    return *slot;
}

DropZoneWindow& QtUi::DropZone() {
    return LoadWindow(dropZone_);
}
EncryptPasswordDialog& QtUi::EncryptDialog() {
    return LoadWindow(encryptDialog_);
}
DecryptPasswordDialog& QtUi::DecryptDialog() {
    return LoadWindow(decryptDialog_);
}
ProgressWindow& QtUi::Progress() {
    return LoadWindow(progress_);
}
LanguageWindow& QtUi::Language() {
    return LoadWindow(language_);
}

SettingsWindow& QtUi::Settings() {
    return LoadWindow(settings_);
}
FavouritesWindow& QtUi::Favourites() {
    return LoadWindow(favourites_);
}
AboutWindow& QtUi::About() {
    return LoadWindow(about_);
}

DropZoneWindow* QtUi::DropZoneIfLoaded() const {
    return dropZone_;
}
EncryptPasswordDialog* QtUi::EncryptDialogIfLoaded() const {
    return encryptDialog_;
}
DecryptPasswordDialog* QtUi::DecryptDialogIfLoaded() const {
    return decryptDialog_;
}
ProgressWindow* QtUi::ProgressIfLoaded() const {
    return progress_;
}
LanguageWindow* QtUi::LanguageIfLoaded() const {
    return language_;
}
SettingsWindow* QtUi::SettingsIfLoaded() const {
    return settings_;
}
FavouritesWindow* QtUi::FavouritesIfLoaded() const {
    return favourites_;
}
AboutWindow* QtUi::AboutIfLoaded() const {
    return about_;
}

void QtUi::Unloaded(QWidget* window) {
    if (window == dropZone_) dropZone_ = nullptr;
    if (window == encryptDialog_) encryptDialog_ = nullptr;
    if (window == decryptDialog_) decryptDialog_ = nullptr;
    if (window == progress_) progress_ = nullptr;
    if (window == language_) language_ = nullptr;
    if (window == settings_) settings_ = nullptr;
    if (window == favourites_) favourites_ = nullptr;
    if (window == about_) about_ = nullptr;
    window->hide();
    unloaded_.emplace_back(window);
    window->deleteLater();
}

void QtUi::UnloadAll() {
    if (dropZone_) dropZone_->Unload();
    if (encryptDialog_) encryptDialog_->Unload();
    if (decryptDialog_) decryptDialog_->Unload();
    if (progress_) progress_->Unload();
    if (language_) language_->Unload();
    if (settings_) settings_->Unload();
    if (favourites_) favourites_->Unload(); // saves the favourites file
    if (about_) about_->Unload();
}

void QtUi::OpenOtherWindow(OtherWindow window) {
    if (quitting_) return;
    switch (window) {
    case OtherWindow::Settings:
        Settings().Open();
        break;
    case OtherWindow::Favourites:
        Favourites().Open();
        break;
    case OtherWindow::About: {
        AboutWindow& about = About();
        // Owned by the drop zone, also when the settings window's live update created it.
        if (dropZone_ && about.parentWidget() != dropZone_) about.setParent(dropZone_, about.windowFlags());
        about.Open();
        break;
    }
    }
}

void QtUi::ShowHotRegionStatus() {
    if (quitting_) return;
    Settings().ShowHotRegionStatus();
}

bool QtUi::LoadFavouritesList() {
    // Loading the favourites window reads the favourites file into its list.
    return Favourites().ListCount() > 0;
}

bool QtUi::OpenDocument(const std::string& fileOrUrl) {
    if (openDocumentHook) return openDocumentHook(fileOrUrl);
    return platform::OpenDocument(fileOrUrl);
}

// ---------------------------------------------------------------------------------------------
// UiPort
// ---------------------------------------------------------------------------------------------

MsgAnswer QtUi::ShowMessage(const Message& message) {
    messages.push_back(message);
    if (messageHook)
        if (const auto answer = messageHook(message)) return *answer;

    QMessageBox box;
    box.setWindowTitle(UiText(message.title));
    box.setTextFormat(Qt::PlainText); // a file name or a server's text is never taken as markup
    box.setText(UiText(message.text));
    box.setWindowIcon(artwork::AppIcon());
    switch (message.icon) {
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    // Above the drop zone, which stays on top of everything else.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (message.buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

void QtUi::ShowWarning(const Message& message) {
    // The drop zone gets a taskbar button for the time of the message, so that the message has a
    // taskbar entry while the drop zone has none.
    ShowInTaskbar(true);
    ShowMessage(message);
    ShowInTaskbar(false);
}

void QtUi::LetEventsRun() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::ProgressBegin(RunDirection direction, const std::string& caption) {
    cancel_ = quitting_;
    if (!quitting_) Progress().Begin(direction, UiText(caption));
}

void QtUi::ProgressShowFile(const std::string& fileName) {
    if (!quitting_) Progress().ShowFile(UiText(fileName));
}

void QtUi::ProgressSetPercent(int percent) {
    if (progress_) progress_->SetPercent(percent);
}

void QtUi::ProgressHide() {
    if (progress_) progress_->hide();
}

void QtUi::ShowMainWindow() {
    if (quitting_) return;
    DropZone().ShowDropZone();
}

void QtUi::HideMainWindow() {
    if (dropZone_) dropZone_->hide();
}

bool QtUi::MainWindowVisible() {
    return dropZone_ && dropZone_->isVisible();
}

void QtUi::ShowInTaskbar(bool show) {
    if (dropZone_) vaultwing::ShowInTaskbar(dropZone_, show);
}

void QtUi::ShowTrayIcon(bool show) {
    if (quitting_ && show) return;
    vaultwing::ShowTrayIcon(show, [this](TrayClick click) {
        if (dropZone_) dropZone_->onTrayIconClicked(click);
    });
}

void QtUi::ShowPasswordDialog(PasswordDialog dialog) {
    if (quitting_) return;
    if (dialog == PasswordDialog::Encrypt)
        EncryptDialog().Open();
    else
        DecryptDialog().Open();
}

void QtUi::HidePasswordDialog(PasswordDialog dialog) {
    if (dialog == PasswordDialog::Encrypt && encryptDialog_) encryptDialog_->hide();
    if (dialog == PasswordDialog::Decrypt && decryptDialog_) decryptDialog_->hide();
}

void QtUi::ClosePasswordDialog(PasswordDialog dialog) {
    if (dialog == PasswordDialog::Encrypt && encryptDialog_) encryptDialog_->Unload();
    if (dialog == PasswordDialog::Decrypt && decryptDialog_) decryptDialog_->Unload();
}

void QtUi::ClearPasswordFields(PasswordDialog dialog) {
    if (dialog == PasswordDialog::Encrypt && encryptDialog_) encryptDialog_->ClearFields();
    if (dialog == PasswordDialog::Decrypt && decryptDialog_) decryptDialog_->ClearFields();
}

void QtUi::SetDeleteModeText(const std::string& text) {
    if (quitting_) return;
    vaultwing::SetDeleteModeText(*this, text);
}

void QtUi::ShowLanguageWindow() {
    if (quitting_) return;
    Language().Open();
}

void QtUi::ApplyLanguage() {
    if (quitting_) return;
    vaultwing::ApplyLanguage(app_->Texts(), marqueeText_, [this](const LangTarget& target, const std::string& text) {
        SetLanguageText(target, text);
    });
}

QWidget* QtUi::WindowByName(std::string_view name) {
    if (name == "LanguageWindow") return &LoadWindow(language_);
    if (name == "DropZoneWindow") return &LoadWindow(dropZone_);
    if (name == "EncryptPasswordDialog") return &LoadWindow(encryptDialog_);
    if (name == "DecryptPasswordDialog") return &LoadWindow(decryptDialog_);
    if (name == "SettingsWindow") return &LoadWindow(settings_);
    if (name == "FavouritesWindow") return &LoadWindow(favourites_);
    if (name == "AboutWindow") return &LoadWindow(about_);
    return nullptr;
}

void QtUi::SetLanguageText(const LangTarget& target, const std::string& text) {
    QWidget* window = WindowByName(target.window);
    if (window == nullptr) return;
    if (target.control.empty()) {
        window->setWindowTitle(UiText(text));
        return;
    }
    QObject* control =
        window->findChild<QObject*>(QString::fromUtf8(target.control.data(), qsizetype(target.control.size())));
    if (control == nullptr) return;
    if (target.property == LangProperty::Caption) {
        control->setProperty("text", UiText(text));
        return;
    }
    control->setProperty("toolTip", UiText(text));
    // A picture button's tip is also what a screen reader calls it.
    control->setProperty("accessibleName", UiText(text));
}

void QtUi::CloseFavouritesWindowIfVisible() {
    if (favourites_ && favourites_->isVisible()) favourites_->Unload();
}

void QtUi::EnableFavouritesCommands(bool enabled) {
    if (dropZone_) dropZone_->EnableFavouritesCommands(enabled);
}

void QtUi::QuitApplication() {
    if (quitting_) return;
    quitting_ = true;
    // Exit chosen while a run works (its events run in the middle of a file): the run stops at
    // its next step as if cancelled, so the current file leaves no partial output behind.
    if (app_ != nullptr && app_->RunActive()) cancel_ = true;
    UnloadAllWindows(*this);
    if (quitHook)
        quitHook();
    else
        // Queued, so that the event loop ends even when this runs before it started.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void QtUi::EndProcessNow() {
    if (endProcessHook) {
        endProcessHook();
        throw ProcessEnded{};
    }
    platform::FatalExit();
}

} // namespace vaultwing
