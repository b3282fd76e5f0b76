// Pictures of the windows for a person to look at. Runs only under a real X server (Xvfb, see
// run_screenshots.sh); the pictures land in the build folder's screenshots/.
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <cstdlib>

#include "GuiFixture.h"

namespace vaultwing::test {
namespace {

class Screenshot : public GuiFixture {
protected:
    void SetUp() override {
        if (std::getenv("VAULTWING_SCREENSHOTS") == nullptr) GTEST_SKIP() << "run through run_screenshots.sh";
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(VAULTWING_SCREENSHOT_DIR)));
    }

    static void Save(QWidget* window, const char* name, qreal scale = 1.0) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
        Settle();
        QPixmap picture(window->size() * scale);
        picture.setDevicePixelRatio(scale);
        picture.fill(Qt::transparent);
        window->render(&picture);
        const QString path = QStringLiteral(VAULTWING_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
        EXPECT_TRUE(picture.save(path)) << path.toStdString();
        EXPECT_FALSE(picture.toImage().isNull());
    }
};

TEST_F(Screenshot, Windows) {
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();
    Save(&main, "dropzone");
    Save(&main, "dropzone_x4", 4.0); // the artwork must stay crisp when scaled
    main.PopupContextMenu(main.mapToGlobal(QPoint(main.width(), main.height())));
    Save(main.mnuKontext, "menu");
    main.mnuKontext->close();

    Drop({Make("plain.txt", "x"), MakeEncrypted("letter.txt", "y", "opensesame")});
    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    Type(key.txtKey[0], QStringLiteral("Secr3t!pw"));
    Type(key.txtKey[1], QStringLiteral("Secr3t"));
    Save(&key, "EncryptPasswordDialog");
    Save(ui.KeyDirectIfLoaded(), "DecryptPasswordDialog");

    ui.ProgressBegin(RunDirection::Encrypt, english.Text(lang::kProgressEncrypt));
    ui.ProgressShowFile("holiday-photos-2026-with-a-rather-long-name.zip");
    ui.ProgressSetPercent(42);
    Save(ui.ProgressIfLoaded(), "frmProgress_encrypt");
    ui.ProgressBegin(RunDirection::Decrypt, english.Text(lang::kProgressDecrypt));
    ui.ProgressSetPercent(77);
    Save(ui.ProgressIfLoaded(), "frmProgress_decrypt");
    ui.ProgressHide();

    ui.ShowLanguageWindow();
    Save(ui.LanguageIfLoaded(), "LanguageWindow");
}

} // namespace
} // namespace vaultwing::test

namespace vaultwing::test {
namespace {

// Under a real X server the run-time loaded X11 queries answer.
TEST_F(Screenshot, X11QueriesAnswerUnderAnXServer) {
    const auto pointer = platform::CursorPosition();
    ASSERT_TRUE(pointer.has_value());
    EXPECT_GE(pointer->x, 0);
    EXPECT_GE(pointer->y, 0);
    EXPECT_FALSE(platform::AsyncKeyDown(platform::kVkEscape)); // nobody presses keys on Xvfb
    EXPECT_FALSE(platform::CapsLockOn());
}

} // namespace
} // namespace vaultwing::test
