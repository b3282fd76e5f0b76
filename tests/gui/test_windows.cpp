// The windows' wiring to the core, driven like a user would: keys, clicks, drops. The core's
// rules themselves are tested with the core.
#include "GuiFixture.h"
#include "about/Marquee.h"
#include "gui_dl/TinyHttpServer.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;
using Windows = GuiFixture;

// Picks `name` in the language list the way a user does: open the list, click the entry.
void Choose(const QString& name, QtUi& ui) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.LanguageIfLoaded()));
    auto& box = Child<QComboBox>(*ui.LanguageIfLoaded(), "languageBox");
    box.showPopup();
    QAbstractItemView* view = box.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(box.findText(name), 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    Click(Child<QPushButton>(*ui.LanguageIfLoaded(), "okButton"));
}

TEST_F(Windows, FirstStartAsksForTheLanguageAndAppliesItToEveryWindow) {
    Start("");
    ASSERT_NE(ui.LanguageIfLoaded(), nullptr);
    EXPECT_FALSE(ui.DropZone().isVisible());
    Click(Child<QPushButton>(*ui.LanguageIfLoaded(), "okButton")); // nothing chosen yet: refused
    EXPECT_EQ(ui.messages.size(), 1U);
    Choose(QStringLiteral("English"), ui);
    EXPECT_EQ(Setting("Sprache"), "English");
    EXPECT_EQ(ui.LanguageIfLoaded(), nullptr);
    EXPECT_TRUE(ui.DropZone().isVisible());
    EXPECT_EQ(Child<QAction>(ui.DropZone(), "exitAction").text(), En(lang::kMenuExit));
    EXPECT_EQ(Child<QLabel>(ui.EncryptDialog(), "passwordLabel").text(), En(lang::kKeyLabel));
    EXPECT_EQ(Child<QPushButton>(ui.DecryptDialog(), "okButton").text(), En(lang::kKeyOkDecrypt));

    ui.ShowLanguageWindow(); // opened again later, it switches the running program
    Choose(QStringLiteral("Deutsch"), ui);
    EXPECT_EQ(Child<QAction>(ui.DropZone(), "exitAction").text(), QStringLiteral("Beenden"));
    EXPECT_FALSE(quit || ended);
}

TEST_F(Windows, ClosingTheLanguageWindowAtTheFirstStartEndsTheProgram) {
    Start("");
    ui.LanguageIfLoaded()->close();
    Settle();
    EXPECT_TRUE(quit);
}

// The real message box, answered the way a user would, from inside its own event loop.
TEST_F(Windows, RealMessageBoxIsShownAndAnswered) {
    answer.reset();
    Start("");
    QString text;
    QTimer::singleShot(0, [&] {
        text = Child<QLabel>(*QApplication::activeModalWidget(), "qt_msgbox_label").text();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
    });
    Click(Child<QPushButton>(*ui.LanguageIfLoaded(), "okButton"));
    EXPECT_EQ(text, UiText(ui.messages.at(0).text));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Windows, DroppedFilesReachTheDialogsAndTheirOkRunsTheCore) {
    Start();
    const std::string plain = Make("plain.txt", "attack at dawn");
    DropOn(&ui.DropZone(), {plain, MakeEncrypted("letter.txt", "dear diary", "opensesame")});
    ASSERT_TRUE(ui.DecryptDialogIfLoaded() && ui.EncryptDialogIfLoaded());
    DecryptPasswordDialog& decrypt = *ui.DecryptDialogIfLoaded();
    EXPECT_TRUE(decrypt.isVisible() && ui.EncryptDialogIfLoaded()->isVisible());
    EXPECT_FALSE(ui.DropZone().isVisible());
    Type(Child<QLineEdit>(decrypt, "passwordField"), QStringLiteral("opensesame"));
    QTest::keyClick(&Child<QLineEdit>(decrypt, "passwordField"), Qt::Key_Return); // Enter is OK here
    Settle();
    EXPECT_EQ(ReadFile(work / "letter.txt"), "dear diary");
    EXPECT_FALSE(decrypt.isVisible());

    EncryptPasswordDialog& encrypt = *ui.EncryptDialogIfLoaded();
    Type(Child<QLineEdit>(encrypt, "passwordFields_0"), QStringLiteral("Secr3t!pw"));
    Type(Child<QLineEdit>(encrypt, "passwordFields_1"), QStringLiteral("Secr3t!pw"));
    Click(Child<QPushButton>(encrypt, "okButton"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.EncryptDialogIfLoaded(), nullptr); // unloaded after its run
    EXPECT_TRUE(fs::exists(plain + ".vwx"));
    EXPECT_TRUE(ui.DropZone().isVisible());
}

TEST_F(Windows, EncryptionDialogPassesItsFieldsAndShowsTheAnswers) {
    Start();
    DropOn(&ui.DropZone(), {Make("notes.txt", "some notes")});
    EncryptPasswordDialog& dialog = *ui.EncryptDialogIfLoaded();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto& first = Child<QLineEdit>(dialog, "passwordFields_0");
    auto& second = Child<QLineEdit>(dialog, "passwordFields_1");
    Type(first, QStringLiteral("ab cd\tefgh")); // spaces and control characters never get in
    Type(second, QStringLiteral("ABCDEFGH1!")); // the meter follows the first field only
    EXPECT_EQ(first.text(), QStringLiteral("abcdefgh"));
    EXPECT_EQ(Child<QLabel>(dialog, "qualityLabel").text(), UiText(app->passwords.QualityText("abcdefgh")));

    QTest::keyClick(&first, Qt::Key_Return); // on to the second field
    EXPECT_TRUE(second.hasFocus());
    QTest::keyClick(&second, Qt::Key_Return); // OK: a mismatch
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, english.Text(lang::kKeyMismatch));
    EXPECT_TRUE(first.text().isEmpty() && second.text().isEmpty() && first.hasFocus());

    for (const auto mode : {QLineEdit::Normal, QLineEdit::Password}) {
        QTest::mouseClick(&Child<QPushButton>(dialog, "revealButton"), Qt::LeftButton);
        EXPECT_TRUE(first.echoMode() == mode && second.echoMode() == mode);
    }
}

TEST_F(Windows, DeleteModeHintsFlipTheSettingsBox) {
    Start();
    auto& box = Child<QCheckBox>(ui.Settings(), "deleteSourcesBox");
    auto& encryptHint = Child<QLabel>(ui.EncryptDialog(), "deleteModeLabel");
    auto& decryptHint = Child<QLabel>(ui.DecryptDialog(), "deleteModeLabel");
    for (QLabel* hint : {&encryptHint, &decryptHint}) {
        const bool on = hint == &encryptHint;
        QTest::mouseClick(hint, Qt::LeftButton);
        EXPECT_EQ(box.isChecked(), on);
        EXPECT_EQ(encryptHint.text(), En(on ? lang::kDeleteModeOn : lang::kDeleteModeOff));
        EXPECT_EQ(decryptHint.text(), encryptHint.text());
    }
}

TEST_F(Windows, DropZoneKeepsItsPlaceAndAnswersTheTrayIcon) {
    SetSetting("Left", "3000");
    SetSetting("Top", "1500");
    SetSetting("Transparenz", "128");
    Start();
    DropZoneWindow& zone = ui.DropZone();
    EXPECT_EQ(zone.pos(), QPoint(200, 100));
    EXPECT_NEAR(zone.windowOpacity(), 128 / 255.0, 0.01);
    zone.hide();
    zone.onTrayIconClicked(TrayClick::Context); // the menu, also while the drop zone is hidden
    EXPECT_TRUE(Child<QMenu>(zone, "contextMenu").isVisible());
    EXPECT_FALSE(zone.isVisible());
    Child<QMenu>(zone, "contextMenu").close();
    zone.onTrayIconClicked(TrayClick::Left);
    EXPECT_TRUE(zone.isVisible());

    zone.move(100, 60);
    Child<QAction>(zone, "exitAction").trigger();
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_EQ(Setting("Left") + " " + Setting("Top"), "1500 900");
    EXPECT_EQ(ui.DropZoneIfLoaded(), nullptr);
}

TEST_F(Windows, RightButtonDragsTheDropZoneThenOpensTheMenu) {
    Start();
    DropZoneWindow& zone = ui.DropZone();
    const QPoint start = zone.pos();
    QTest::mousePress(&zone, Qt::RightButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), zone.mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&zone, &move);
    EXPECT_FALSE(Child<QMenu>(zone, "contextMenu").isVisible()); // not while the button is held
    QTest::mouseRelease(&zone, Qt::RightButton, {}, QPoint(40, 30));
    EXPECT_EQ(zone.pos(), start + QPoint(30, 20));
    EXPECT_TRUE(Child<QMenu>(zone, "contextMenu").isVisible());
    Child<QMenu>(zone, "contextMenu").close();
}

struct RunCase {
    bool encrypt;
    bool exit; // Exit from the drop zone's menu instead of Cancel
    QColor bar;
    int caption;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << (c.encrypt ? "encrypt" : "decrypt") << (c.exit ? ", exit" : "");
}

class Run : public GuiFixture, public ::testing::WithParamInterface<RunCase> {};

// The progress window shows the run; its Cancel, or Exit, stops the run.
TEST_P(Run, ShowsItsProgressAndStopsWhenAsked) {
    const RunCase& c = GetParam();
    Start();
    const std::string data(2 << 20, 'x');
    const std::string path = c.encrypt ? Make("big.bin", data) : MakeEncrypted("big.bin", data, "opensesame");
    DropOn(&ui.DropZone(), {path});
    QWidget& dialog = c.encrypt ? static_cast<QWidget&>(*ui.EncryptDialogIfLoaded()) : *ui.DecryptDialogIfLoaded();
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
        Type(*field, QStringLiteral("opensesame"));
    QTimer::singleShot(0, [&] {
        ProgressWindow& progress = *ui.ProgressIfLoaded();
        EXPECT_TRUE(progress.isVisible());
        EXPECT_EQ(Child<DrawnProgressBar>(progress, "progressBar").barColor(), c.bar);
        EXPECT_EQ(progress.windowTitle(), En(c.caption));
        EXPECT_EQ(Child<QLabel>(progress, "fileNameLabel").text().toStdString(), fs::path(path).filename());
        if (c.exit)
            Child<QAction>(ui.DropZone(), "exitAction").trigger();
        else
            QTest::mouseClick(&Child<QPushButton>(progress, "cancelButton"), Qt::LeftButton);
    });
    Click(Child<QPushButton>(dialog, "okButton"));
    EXPECT_EQ(quit, c.exit);
    EXPECT_FALSE(fs::exists(c.encrypt ? path + ".vwx" : work / "big.bin"));
    if (!c.exit) {
        EXPECT_EQ(ui.messages.at(0).text, path + "\r\n\r\n" + english.Text(lang::kRunCancelled));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Run,
                         ::testing::Values(RunCase{true, false, QColor(255, 0, 0), lang::kProgressEncrypt},
                                           RunCase{false, false, QColor(0, 128, 0), lang::kProgressDecrypt},
                                           RunCase{true, true, QColor(255, 0, 0), lang::kProgressEncrypt}));

TEST_F(Windows, SettingsWindowReachesTheDropZone) {
    SetSetting("HotRegion", "1");
    SetSetting("HotRegion Oben", "1");
    Start();
    Child<QAction>(ui.DropZone(), "settingsAction").trigger();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    auto& timer = Child<QTimer>(ui.DropZone(), "hotRegionTimer");
    EXPECT_TRUE(Child<QCheckBox>(settings, "hotRegionBox").isChecked() && timer.isActive());
    Child<QCheckBox>(settings, "hotRegionBox").click();
    EXPECT_FALSE(timer.isActive());

    auto& slider = Child<QSlider>(settings, "transparencySlider");
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(0, slider.height() / 2));
    EXPECT_EQ(Setting("Transparenz"), std::to_string(kMinTransparency));
    EXPECT_NEAR(ui.DropZone().windowOpacity(), kMinTransparency / 255.0, 0.01);

    // The edges panel shows the drop zone's edges and switches them.
    auto& picture = Child<HotRegionPicture>(settings, "edgesPicture");
    EXPECT_EQ(picture.lineColor(kEdgeTop), QColor(255, 0, 0));
    EXPECT_EQ(Child<QLabel>(settings, "edgeLabels_1").text(), En(lang::kEdgeOff));
    Click(Child<QPushButton>(settings, "showEdgesButton"));
    EXPECT_FALSE(Child<QWidget>(settings, "optionsPanel").isVisible());
    EXPECT_EQ(settings.windowTitle(), En(lang::kSettingsHotRegionCaption));
    QTest::mouseClick(&Child<QLabel>(settings, "edgeLabels_1"), Qt::LeftButton); // left
    EXPECT_TRUE(ui.DropZone().hotRegion.left);
    EXPECT_EQ(picture.lineColor(kEdgeLeft), QColor(255, 0, 0));
    Click(Child<QPushButton>(settings, "edgesDoneButton"));
    EXPECT_TRUE(Child<QWidget>(settings, "optionsPanel").isVisible());
    Click(Child<QPushButton>(settings, "okButton"));
    EXPECT_EQ(ui.SettingsIfLoaded(), nullptr);
}

TEST_F(Windows, ManualAboutWindowAndItsLinksOpenTheirAddresses) {
    Start();
    Child<QAction>(ui.Settings(), "manualAction").trigger();
    Child<QAction>(ui.Settings(), "aboutAction").trigger();
    AboutWindow& about = *ui.AboutIfLoaded();
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(about.parentWidget(), ui.DropZoneIfLoaded());
    auto& marquee = Child<MarqueeBox>(about, "marqueeBox");
    EXPECT_EQ(marquee.text().toStdString(), CreditsLine() + english.Text(lang::kMarquee));
    EXPECT_TRUE(QTest::qWaitFor([&] { return marquee.position() < kMarqueeStart; })); // it scrolls
    Click(Child<QLabel>(about, "websiteLink"));
    EXPECT_EQ(ui.AboutIfLoaded(), nullptr);
    Child<QAction>(ui.DropZone(), "aboutAction").trigger();
    Click(Child<QToolButton>(*ui.AboutIfLoaded(), "contactButton"));
    EXPECT_EQ(ui.AboutIfLoaded(), nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{home / "Bedienungsanleitung.pdf", WebsiteAddress(), ContactAddress()}));
}

// The version file comes from a local server; the about window shows the core's answer.
TEST_F(Windows, LiveUpdateOfferOpensTheArchiveOnYes) {
    TinyHttpServer server;
    server.ServeAddress(VersionFileAddress(server.HostAndPort()), {200, "[Einstellungen]\r\nversion=9.0.0\r\n", {}, false});
    Start();
    ui.About().server = server.HostAndPort();
    answer = MsgAnswer::No;
    Child<QAction>(ui.Settings(), "liveUpdateAction").trigger(); // through the hidden about window
    ASSERT_TRUE(WaitUntil([&] { return !ui.messages.empty(); }));
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(opened.empty());
    answer = MsgAnswer::Yes;
    Child<QAction>(ui.DropZone(), "aboutAction").trigger();
    QTest::mouseClick(&Child<QToolButton>(*ui.AboutIfLoaded(), "liveUpdateButton"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return ui.messages.size() == 2; }));
    Settle();
    EXPECT_EQ(opened, std::vector<std::string>{UpdateArchiveAddress(server.HostAndPort())});
    EXPECT_EQ(ui.AboutIfLoaded(), nullptr);
}

TEST_F(Windows, FavouritesWindowEditsTheListAndItsBatchRunsIt) {
    WriteFile(FavouritesPath(home.Str()), "/d/b.txt\r\n/D/a.txt\r\n");
    Start();
    Child<QAction>(ui.DropZone(), "favouritesAction").trigger();
    FavouritesWindow& window = *ui.FavouritesIfLoaded();
    auto& list = Child<QListWidget>(window, "favouritesList");
    const auto shown = [&] {
        std::vector<std::string> entries;
        for (int i = 0; i < list.count(); ++i)
            entries.push_back(list.item(i)->text().toStdString());
        return entries;
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{"/D/a.txt", "/d/b.txt"}));
    const std::string x = Make("x.txt", "x");
    DropOn(list.viewport(), {x});
    EXPECT_EQ(shown(), (std::vector<std::string>{"/D/a.txt", "/d/b.txt", x}));
    list.item(0)->setSelected(true);
    QTest::keyClick(&list, Qt::Key_Delete);
    list.item(0)->setSelected(true);
    QTest::mousePress(list.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Child<QMenu>(window, "contextMenu").isVisible());
    EXPECT_TRUE(list.item(0)->isSelected()); // the right button leaves the selection alone
    Child<QAction>(window, "deleteAction").trigger();
    Child<QMenu>(window, "contextMenu").close();
    EXPECT_EQ(shown(), std::vector<std::string>{x});

    // The batch saves the shown list and closes the window first, then runs the list.
    Child<QAction>(ui.DropZone(), "encryptFavouritesAction").trigger();
    Settle();
    EXPECT_EQ(ui.FavouritesIfLoaded(), nullptr);
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), x + "\r\n");
    EXPECT_TRUE(ui.EncryptDialogIfLoaded() && ui.EncryptDialogIfLoaded()->isVisible());
}

} // namespace
} // namespace vaultwing::test
