// Pictures of the settings, favourites and about windows for a person to look at (run through
// run_screenshots.sh under Xvfb; they land in the build folder's screenshots/).
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>

#include "GuiFixture.h"
#include "gui/windows/AboutWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "gui/widgets/FileDropList.h"
#include "gui/widgets/MarqueeBox.h"
#include "favourites/FavouritesFile.h"
#include "gui/windows/FavouritesWindow.h"

namespace vaultwing::test {
namespace {

class ScreenshotOtherWindows : public GuiFixture {
protected:
    void SetUp() override {
        if (std::getenv("VAULTWING_SCREENSHOTS") == nullptr) GTEST_SKIP() << "run through run_screenshots.sh";
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(VAULTWING_SCREENSHOT_DIR)));
    }

    static void Save(QWidget* window, const char* name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
        Settle();
        QPixmap picture(window->size());
        picture.fill(Qt::transparent);
        window->render(&picture);
        const QString path = QStringLiteral(VAULTWING_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
        EXPECT_TRUE(picture.save(path)) << path.toStdString();
    }
};

TEST_F(ScreenshotOtherWindows, SettingsFavouritesAbout) {
    SetSetting("HotRegion Oben", "1");
    SetSetting("HotRegion Links", "1");
    SetSetting("Transparenz", "180");
    SetSetting("Delete", "1");
    WriteFile(FavouritesPath(home.Str()), "/home/anna/Documents/tax-return-2025.pdf\r\n"
                                          "/home/anna/Documents/passport scan.jpg.vwx\r\n"
                                          "/home/anna/Notes/passwords.txt\r\n");
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();

    main.mnuSettings->trigger();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    Save(&settings, "SettingsWindow");
    settings.cmdHotRegionSet_Click();
    Save(&settings, "frmSettings_hotregion");
    settings.cmdHotRegionOK_Click();
    settings.Form_Unload();

    main.mnuFavoriten->trigger();
    FavouritesWindow& favourites = *ui.FavouritesIfLoaded();
    favourites.lstFavoriten->item(1)->setSelected(true);
    Save(&favourites, "FavouritesWindow");
    favourites.Form_Unload();

    main.mnuAbout->trigger();
    AboutWindow& info = *ui.InfoIfLoaded();
    info.tmrLaufschrift->stop();
    info.picLaufschrift->setPosition(-300);
    Save(&info, "AboutWindow");
}

} // namespace
} // namespace vaultwing::test
