#pragma once
// An Application on a fresh program folder, talking to the recording fake. Every language text
// reads "T<index>", so tests can tell which text a message used.
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "app/Application.h"
#include "support/FakeUi.h"
#include "support/IndexTexts.h"
#include "support/TempDir.h"

namespace vaultwing::test {

class AppFixture : public ::testing::Test {
protected:
    AppFixture() : app(home.Str(), ui, ui) {
        FillWithIndexTexts(app.state.texts);
        ui.flow = &app.passwords;
    }

    // A file with `bytes` in the work folder; returns its full path, spelt as the system lists it.
    std::string Make(const std::string& relative, std::string_view bytes = "data") {
        const auto path = (work.Path() / relative).make_preferred();
        std::filesystem::create_directories(path.parent_path());
        WriteFile(path.string(), bytes);
        return path.string();
    }
    std::string Dir(const std::string& relative) {
        const auto path = (work.Path() / relative).make_preferred();
        std::filesystem::create_directories(path);
        return path.string();
    }
    void SetDelete(const std::string& value) {
        app.state.settings.Store().WriteSetting("Delete", value, kSettingsSection);
    }
    [[nodiscard]] const std::vector<std::string>& Enc() const { return app.lists.toEncrypt; }
    [[nodiscard]] const std::vector<std::string>& Dec() const { return app.lists.toDecrypt; }

    // The message texts of the path checks, built from the "T<index>" texts.
    static std::string A(const std::string& path) { return path + "\r\n\r\nT606"; }
    static std::string B(const std::string& path) { return path + "\r\n\r\nT604"; }
    static std::string C(const std::string& existing) { return "T110\r\n\r\n" + existing + "\r\n\r\nT112"; }

    TempDir home; // the program folder: VWX.ini, VWX-Fav
    TempDir work; // the user's files
    FakeUi ui;
    Application app;
};

} // namespace vaultwing::test
