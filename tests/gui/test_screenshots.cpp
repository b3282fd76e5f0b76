// Pictures of the windows for a person to look at. Runs only under a real X server (Xvfb, see
// run_screenshots.sh); the pictures land in the build folder's screenshots/.
#include <cstdlib>

#include "GuiFixture.h"
#include "app/LanguageChoice.h"

namespace vaultwing::test {
namespace {

class Screenshot : public GuiFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (std::getenv("VAULTWING_SCREENSHOTS") == nullptr) GTEST_SKIP() << "run through run_screenshots.sh";
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(VAULTWING_SCREENSHOT_DIR)));
    }

    static void Save(QWidget* window, const char* windowName, qreal scale = 1.0) {
        const QString name = QStringLiteral("%1_%2").arg(QLatin1String(windowName), QLatin1String(GetParam()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name.toStdString();
        Settle();
        QPixmap picture(window->size() * scale);
        picture.setDevicePixelRatio(scale);
        window->render(&picture);
        const QString path = QStringLiteral(VAULTWING_SCREENSHOT_DIR "/%1.png").arg(name);
        EXPECT_TRUE(picture.save(path)) << path.toStdString();
    }
};

TEST_P(Screenshot, Windows) {
    SetSetting("HotRegion Oben", "1");
    WriteFile(FavouritesPath(home.Str()), "/home/anna/Documents/tax-return-2025.pdf\r\n"
                                          "/home/anna/Documents/passport scan.jpg.vwx\r\n");
    Start(GetParam());
    DropZoneWindow& zone = ui.DropZone();
    Save(&zone, "DropZoneWindow");

    DropOn(&zone, {Make("plain.txt", "x"), MakeEncrypted("letter.txt", "y", "opensesame")});
    QTest::keyClicks(&Child<QLineEdit>(*ui.EncryptDialogIfLoaded(), "passwordFields_0"), QStringLiteral("Secr3t!pw"));
    Save(ui.EncryptDialogIfLoaded(), "EncryptPasswordDialog");
    Save(ui.DecryptDialogIfLoaded(), "DecryptPasswordDialog");

    ui.ProgressBegin(RunDirection::Encrypt, english.Text(lang::kProgressEncrypt));
    ui.ProgressShowFile("holiday-photos-2026-with-a-rather-long-name.zip");
    ui.ProgressSetPercent(42);
    Save(ui.ProgressIfLoaded(), "ProgressWindow");

    ui.ShowLanguageWindow();
    Save(ui.LanguageIfLoaded(), "LanguageWindow");

    Child<QAction>(zone, "settingsAction").trigger();
    Save(ui.SettingsIfLoaded(), "SettingsWindow");
    ChooseLanguage(app->state, "Deutsch"); // the longest texts, and the window's size for them
    ui.ApplyLanguage();
    Save(ui.SettingsIfLoaded(), "SettingsWindow_Deutsch");
    ChooseLanguage(app->state, GetParam());
    ui.ApplyLanguage();

    Child<QAction>(zone, "favouritesAction").trigger();
    Save(ui.FavouritesIfLoaded(), "FavouritesWindow");

    Child<QAction>(zone, "aboutAction").trigger();
    Save(ui.AboutIfLoaded(), "AboutWindow");
}

INSTANTIATE_TEST_SUITE_P(Languages, Screenshot, ::testing::Values("English", "Deutsch"));

} // namespace
} // namespace vaultwing::test
