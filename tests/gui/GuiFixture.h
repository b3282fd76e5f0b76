#pragma once
// The real desktop program on a fresh program folder (with the shipped language files), its
// message boxes answered and its ends recorded instead of ending the test process.
#include <QTest>
#include <QtWidgets>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "cipher/Cipher.h"
#include "config/LangIndices.h"
#include "config/LanguageFile.h"
#include "favourites/FavouritesFile.h"
#include "gui/QtUi.h"
#include "gui/widgets/DrawnProgressBar.h"
#include "gui/widgets/HotRegionPicture.h"
#include "gui/widgets/MarqueeBox.h"
#include "gui/windows/AboutWindow.h"
#include "gui/windows/DecryptPasswordDialog.h"
#include "gui/windows/DropZoneWindow.h"
#include "gui/windows/EncryptPasswordDialog.h"
#include "gui/windows/FavouritesWindow.h"
#include "gui/windows/LanguageWindow.h"
#include "gui/windows/ProgressWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "support/TempDir.h"

namespace vaultwing::test {

// Lets queued work (deferred drops, deletions, activations) run.
inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A window's control by its object name; a missing one fails the test.
template <typename T> T& Child(const QObject& window, const char* name) {
    if (T* child = window.findChild<T*>(QString::fromLatin1(name))) return *child;
    throw std::runtime_error(std::string("no control ") + name);
}

// Drops `paths` on `target` as a file manager would.
inline void DropOn(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const auto& p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p));
    mime.setUrls(urls);
    // Shift proposes a move, as file managers do by default on one disk; the drop must be a copy.
    const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(QPoint(10, 10), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted() && drop.dropAction() == Qt::CopyAction);
    Settle();
}

inline void Click(QWidget& widget) {
    QTest::mouseClick(&widget, Qt::LeftButton);
    Settle();
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
        ui.openDocumentHook = [this](const std::string& what) {
            opened.push_back(what);
            return true;
        };
    }

    void SetSetting(const std::string& key, const std::string& value) {
        IniStore(home.Str()).WriteSetting(key, value, kSettingsSection);
    }
    [[nodiscard]] std::string Setting(const std::string& key) const {
        return IniStore(home.Str()).ReadSetting(key, kSettingsSection);
    }

    // Starts the program as VWX would (without a command line unless given); English unless
    // `language` is empty.
    void Start(const std::string& language = "English", CommandLine commandLine = {}) {
        if (!language.empty()) SetSetting("Sprache", language);
        app = std::make_unique<Application>(home.Str(), ui, ui, std::move(commandLine));
        ui.Attach(*app);
        Guarded([&] { app->Start(); });
        Settle();
    }

    std::string Make(const std::string& name, std::string_view bytes) { // a file in the work folder
        WriteFile(work / name, bytes);
        return work / name;
    }
    std::string MakeEncrypted(const std::string& name, std::string_view plain, const std::string& password) {
        Cipher().EncryptFile(Make(name + ".plain", plain), work / (name + ".vwx"), password);
        return work / (name + ".vwx");
    }

    [[nodiscard]] QString En(int index) const { return UiText(english.Text(index)); }

    TempDir home; // the program folder
    TempDir work; // the user's files
    LangTable english;
    std::unique_ptr<Application> app; // outlives the windows, which the port deletes first
    QtUi ui;
    std::optional<MsgAnswer> answer = MsgAnswer::Ok;
    std::vector<std::string> opened; // documents and addresses the program opened
    bool ended = false;
    bool quit = false;
};

} // namespace vaultwing::test
