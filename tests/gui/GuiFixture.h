#pragma once
// The real desktop program on a fresh program folder (with the shipped language files), its
// message boxes answered and its ends recorded instead of ending the test process.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "app/Application.h"
#include "gui/windows/DropZoneWindow.h"
#include "cipher/Cipher.h"
#include "config/LangIndices.h"
#include "gui/windows/LanguageWindow.h"
#include "config/LanguageFile.h"
#include "gui/widgets/ClickLabel.h"
#include "gui/widgets/DrawnProgressBar.h"
#include "gui/widgets/PasswordField.h"
#include "favourites/FavouritesFile.h"
#include "gui/windows/ProgressWindow.h"
#include "gui/QtUi.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "gui/windows/DecryptPasswordDialog.h"
#include "support/TempDir.h"

QT_BEGIN_NAMESPACE
// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace vaultwing::test {

// Lets queued work (deferred drops, deletions, activations) run.
inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

class GuiFixture : public ::testing::Test {
protected:
    GuiFixture() {
        for (const auto& entry : std::filesystem::directory_iterator(VAULTWING_LANG_DIR))
            if (entry.path().extension() == ".lng")
                std::filesystem::copy_file(entry.path(), home.Path() / entry.path().filename());
        (void)LoadLanguageFile(std::string(VAULTWING_LANG_DIR) + "/English.lng", english);
        ui.messageHook = [this](const Message&) -> std::optional<MsgAnswer> { return answer; };
        ui.endProcessHook = [this] { ended = true; };
        ui.quitHook = [this] { quit = true; };
    }
    ~GuiFixture() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void SetSetting(const std::string& key, const std::string& value) {
        IniStore(home.Str()).WriteINI(key, value, kSettingsSection);
    }
    [[nodiscard]] std::string Setting(const std::string& key) const {
        return IniStore(home.Str()).ReadINI(key, kSettingsSection);
    }

    // Starts the program as VWX would, with `paths` as its command line when given.
    void Start(std::optional<std::vector<std::string>> paths = std::nullopt) {
        CommandLine line;
        if (paths) {
            line.present = true;
            line.paths = *paths;
        }
        app = std::make_unique<Application>(programFolder.empty() ? home.Str() : programFolder, ui, line);
        ui.Attach(*app);
        Guarded([&] { app->startup.Main(); });
        Settle();
    }
    void StartInEnglish(std::optional<std::vector<std::string>> paths = std::nullopt) {
        SetSetting("Sprache", "English");
        Start(std::move(paths));
    }

    // A file in the work folder.
    std::string Make(const std::string& name, std::string_view bytes) {
        const std::string path = work / name;
        WriteFile(path, bytes);
        return path;
    }
    // An encrypted file made by the cipher itself.
    std::string MakeEncrypted(const std::string& name, std::string_view plain, const std::string& password) {
        const std::string source = Make(name + ".src", plain);
        Cipher cipher(english);
        cipher.EncryptFile(source, work / (name + ".vwx"), password);
        std::filesystem::remove(source);
        return work / (name + ".vwx");
    }

    // Drops `paths` on the drop zone as a file manager would.
    void Drop(const std::vector<std::string>& paths) {
        DropZoneWindow& main = ui.Main();
        QMimeData mime;
        QList<QUrl> urls;
        for (const auto& p : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(p));
        mime.setUrls(urls);
        const QPointF at(DropZoneWindow::kSize / 2.0, DropZoneWindow::kSize / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&main, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&main, &drop);
        Settle();
    }

    static void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClicks(field, text);
    }
    static void Enter(QWidget* field) { QTest::keyClick(field, Qt::Key_Return); }

    [[nodiscard]] QString En(int index) const { return UiText(english.Text(index)); }
    [[nodiscard]] std::string LastMessage() const { return ui.messages.empty() ? "" : ui.messages.back().text; }

    TempDir home;              // the program folder
    TempDir work;              // the user's files
    std::string programFolder; // another program folder for this test
    LangTable english;
    std::unique_ptr<Application> app; // outlives the windows, which the port deletes first
    QtUi ui;
    std::optional<MsgAnswer> answer = MsgAnswer::Ok;
    bool ended = false;
    bool quit = false;
};

} // namespace vaultwing::test
