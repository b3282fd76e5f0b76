// The windows' wiring to the core, driven like a user would; the core's rules are tested with the core.
#include "GuiFixture.h"
#include "gui/widgets/ClickLabel.h"
#include "gui_dl/TinyHttpServer.h"

namespace vaultwing::test {
namespace {

using Windows = GuiFixture;

// Picks `name` in the language window the way a user does: open the list, click the entry, OK.
void Choose(const QString& name, QtUi& ui) {
    ui.LanguageIfLoaded()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ui.LanguageIfLoaded()));
    auto& box = Child<QComboBox>(*ui.LanguageIfLoaded(), "languageBox");
    box.showPopup();
    QAbstractItemView* view = box.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(box.findText(name), 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTest::keyClick(&box, Qt::Key_Return); // the default button's key, where the keyboard sends it
    Settle();
}

TEST_F(Windows, FirstStartAsksForTheLanguageAndAppliesItToEveryWindow) {
    answer.reset(); // real message boxes, answered the way a user would, from their own event loop
    std::filesystem::rename(home / "English.lng", home / "ENGLISH.LNG"); // listed and opened all the same
    // (Wine keeps a name's old case in a rename that changes only the case: take what is there.)
    const QString capitals = QFileInfo(QDir(QString::fromStdString(home.Str()))
                                           .entryList({QStringLiteral("*.lng")}, QDir::Files)
                                           .filter(QStringLiteral("english"), Qt::CaseInsensitive)
                                           .value(0))
                                 .completeBaseName();
    Start("");
    ASSERT_NE(ui.LanguageIfLoaded(), nullptr);
    QString shown;
    QTimer::singleShot(0, [&] {
        const auto& label = Child<QLabel>(*QApplication::activeModalWidget(), "qt_msgbox_label");
        shown = label.textFormat() == Qt::PlainText ? label.text() : QStringLiteral("(may be taken as markup)");
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
    });
    Click(Child<QPushButton>(*ui.LanguageIfLoaded(), "okButton")); // nothing chosen yet: refused
    EXPECT_EQ(shown, UiText(ui.messages.at(0).text));
    Choose(capitals, ui);
    EXPECT_EQ(Setting("Sprache"), capitals.toStdString());
    EXPECT_EQ(ui.LanguageIfLoaded(), nullptr);
    EXPECT_TRUE(ui.DropZone().isVisible());
    EXPECT_EQ(Child<QLabel>(ui.EncryptDialog(), "passwordLabel").text(), En(lang::kKeyLabel));
    EXPECT_FALSE(quit || ended);
}

TEST_F(Windows, EncryptionDialogPassesItsFieldsAndShowsTheAnswers) {
    Start();
    DropOn(&ui.DropZone(), {Make("notes.txt", "some notes")});
    QWidget& dialog = *ui.EncryptDialogIfLoaded();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto& first = Child<QLineEdit>(dialog, "passwordFields_0");
    auto& second = Child<QLineEdit>(dialog, "passwordFields_1");
    QTest::keyClicks(&first, QStringLiteral("ab cd efgh\r")); // no spaces nor control characters; Enter goes on
    EXPECT_TRUE(second.hasFocus());
    QTest::keyClicks(&second, QStringLiteral("ABCDEFGH1!")); // the meter follows the first field only
    EXPECT_EQ(first.text(), QStringLiteral("abcdefgh"));
    EXPECT_EQ(first.displayText(), QStringLiteral("********"));
    Click(Child<QPushButton>(dialog, "revealButton"));
    EXPECT_EQ(first.displayText(), first.text());
    EXPECT_EQ(Child<QLabel>(dialog, "qualityLabel").text(), UiText(app->passwords.QualityText("abcdefgh")));
    Click(Child<QPushButton>(dialog, "okButton")); // a mismatch
    EXPECT_EQ(ui.messages.at(0).text, english.Text(lang::kKeyMismatch));
    EXPECT_TRUE(first.text().isEmpty() && second.text().isEmpty() && first.hasFocus());
}

TEST_F(Windows, DropZoneKeepsItsPlaceAndAnswersTheTrayIcon) {
    Start();
    DropZoneWindow& zone = ui.DropZone();
    zone.hide();
    zone.onTrayIconClicked(TrayClick::Context); // the menu, also while the drop zone is hidden
    EXPECT_TRUE(Child<QMenu>(zone, "contextMenu").isVisible() && !zone.isVisible());
    Child<QMenu>(zone, "contextMenu").close();
    zone.onTrayIconClicked(TrayClick::Left);
    EXPECT_TRUE(zone.isVisible());
    zone.move(100, 60);

    Child<QAction>(zone, "exitAction").trigger();
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_EQ(Setting("Left") + " " + Setting("Top"), "1500 900");
}

enum class Stop { None, Cancel, Escape, Exit }; // Exit from the drop zone's menu

class Run : public GuiFixture, public ::testing::WithParamInterface<std::tuple<bool, Stop>> {};

// A dropped file reaches its dialog, the dialog's OK (or Enter) runs it, the progress window shows
// the run, and its Cancel (or Escape, or Exit) stops it.
TEST_P(Run, DialogStartsTheRunWhichShowsItsProgress) {
    const auto [encrypt, stop] = GetParam();
    Start();
    const std::string data(2 << 20, 'x');
    const std::string path = encrypt ? Make("big.bin", data) : MakeEncrypted("big.bin", data, "opensesame");
    const std::string output = encrypt ? path + ".vwx" : work / "big.bin";
    DropOn(&ui.DropZone(), {path});
    QWidget& dialog = encrypt ? static_cast<QWidget&>(*ui.EncryptDialogIfLoaded()) : *ui.DecryptDialogIfLoaded();
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
        QTest::keyClicks(field, QStringLiteral("opensesame"));
    QTimer::singleShot(0, [&] {
        ProgressWindow& progress = *ui.ProgressIfLoaded();
        EXPECT_TRUE(progress.isVisible());
        EXPECT_EQ(Child<DrawnProgressBar>(progress, "progressBar").barColor(),
                  encrypt ? QColor(255, 0, 0) : QColor(0, 128, 0));
        EXPECT_EQ(progress.windowTitle(), En(encrypt ? lang::kProgressEncrypt : lang::kProgressDecrypt));
        EXPECT_EQ(Child<QLabel>(progress, "fileNameLabel").text().toStdString(),
                  std::filesystem::path(path).filename());
        if (stop == Stop::Exit) Child<QAction>(ui.DropZone(), "exitAction").trigger();
        if (stop == Stop::Cancel) QTest::mouseClick(&Child<QPushButton>(progress, "cancelButton"), Qt::LeftButton);
        if (stop == Stop::Escape) {
            progress.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&progress));
            QTest::keyClick(&progress, Qt::Key_Escape);
        }
    });
    if (stop == Stop::None)
        QTest::keyClick(dialog.findChildren<QLineEdit*>().back(), Qt::Key_Return);
    else
        Click(Child<QPushButton>(dialog, "okButton"));
    Settle();
    EXPECT_EQ(std::filesystem::exists(output), stop == Stop::None);
    EXPECT_EQ(ui.messages.empty() ? "" : ui.messages[0].text,
              stop == Stop::None ? "" : path + "\r\n\r\n" + english.Text(lang::kRunCancelled));
    EXPECT_EQ(quit, stop == Stop::Exit);
    EXPECT_TRUE(quit || ui.DropZone().isVisible());
}

INSTANTIATE_TEST_SUITE_P(Table, Run,
                         ::testing::Values(std::tuple{true, Stop::None}, std::tuple{false, Stop::None},
                                           std::tuple{true, Stop::Cancel}, std::tuple{false, Stop::Cancel},
                                           std::tuple{false, Stop::Escape}, std::tuple{true, Stop::Exit}));

TEST_F(Windows, SettingsWindowReachesTheDropZoneAndThePasswordDialogs) {
    SetSetting("HotRegion", "1");
    Start();
    Child<QAction>(ui.DropZone(), "settingsAction").trigger();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    auto& timer = Child<QTimer>(ui.DropZone(), "hotRegionTimer");
    EXPECT_TRUE(Child<QCheckBox>(settings, "hotRegionBox").isChecked() && timer.isActive());
    Child<QCheckBox>(settings, "hotRegionBox").click();
    EXPECT_FALSE(timer.isActive());
    auto& slider = Child<QSlider>(settings, "transparencySlider");
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(0, slider.height() / 2));
    EXPECT_NEAR(ui.DropZone().windowOpacity(), kMinTransparency / 255.0, 0.01);

    // The edges panel shows the drop zone's edges and switches them.
    Click(Child<QPushButton>(settings, "showEdgesButton"));
    EXPECT_EQ(settings.windowTitle(), En(lang::kSettingsHotRegionCaption));
    QTest::mouseClick(&Child<QLabel>(settings, "edgeLabels_1"), Qt::LeftButton); // left
    EXPECT_TRUE(ui.DropZone().hotRegion.left);
    EXPECT_EQ(Child<HotRegionPicture>(settings, "edgesPicture").lineColor(kEdgeLeft), QColor(255, 0, 0));
    Click(Child<QPushButton>(settings, "edgesDoneButton"));
    EXPECT_EQ(settings.windowTitle(), En(lang::kSettingsCaption));

    // The password dialogs' delete-mode hints flip the settings window's box, which sets both hints.
    auto& encryptHint = Child<QLabel>(ui.EncryptDialog(), "deleteModeLabel");
    auto& decryptHint = Child<QLabel>(ui.DecryptDialog(), "deleteModeLabel");
    for (QLabel* hint : {&encryptHint, &decryptHint}) {
        QTest::mouseClick(hint, Qt::LeftButton);
        EXPECT_EQ(Child<QCheckBox>(settings, "deleteSourcesBox").isChecked(), hint == &encryptHint);
        EXPECT_EQ(encryptHint.text(), En(hint == &encryptHint ? lang::kDeleteModeOn : lang::kDeleteModeOff));
        EXPECT_EQ(decryptHint.text(), encryptHint.text());
    }
}

TEST_F(Windows, ManualAboutWindowAndLiveUpdateOpenTheirAddresses) {
    TinyHttpServer server; // serves the version file the live update fetches
    server.Serve(VersionFileAddress(server.HostAndPort()), {200, "[Einstellungen]\r\nversion=9.0.0\r\n", {}, false});
    Start();
    Child<QAction>(ui.Settings(), "manualAction").trigger();
    Child<QAction>(ui.Settings(), "aboutAction").trigger();
    AboutWindow& about = *ui.AboutIfLoaded();
    EXPECT_TRUE(about.isVisible() && about.parentWidget() == ui.DropZoneIfLoaded());
    EXPECT_EQ(about.windowTitle(), En(lang::kMenuAbout)); // its own title, not the drop zone's
    EXPECT_EQ(Child<MarqueeBox>(about, "marqueeBox").text().toStdString(),
              CreditsLine() + english.Text(lang::kMarquee));
    Click(Child<QLabel>(about, "websiteLink"));
    EXPECT_EQ(ui.AboutIfLoaded(), nullptr);

    // The live update shows the core's answer; Yes opens the archive and closes the window. A
    // version file left by an interrupted check is no obstacle.
    WriteFile(home / "version.ini", "[Einstellungen]\r\nversion=1.0.0\r\n");
    Child<QAction>(ui.DropZone(), "aboutAction").trigger();
    ui.AboutIfLoaded()->server = server.HostAndPort();
    answer = MsgAnswer::Yes;
    QTest::mouseClick(&Child<QToolButton>(*ui.AboutIfLoaded(), "liveUpdateButton"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !ui.messages.empty(); }));
    Settle();
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.AboutIfLoaded(), nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{home / "Manual.pdf", WebsiteAddress(),
                                                UpdateArchiveAddress(server.HostAndPort())}));
}

// A window, the drop zone's menu item that opens it (none: a dropped file does), a key.
class Keys : public GuiFixture, public ::testing::WithParamInterface<std::tuple<const char*, const char*, Qt::Key>> {};

// In German (the longest texts) controls do not overlap, are reached with Tab and named for screen
// readers; Escape closes as the close button does (running nothing), Enter presses the default button.
TEST_P(Keys, CloseTheWindowAndRunNothingElse) {
    const auto [name, openedBy, key] = GetParam();
    Start("Deutsch");
    if (openedBy != nullptr)
        Child<QAction>(ui.DropZone(), openedBy).trigger();
    else
        DropOn(&ui.DropZone(), {name[0] == 'E' ? Make("plain.txt", "a") : MakeEncrypted("secret.txt", "a", "pw")});
    Settle();
    QPointer<QWidget> window; // deleted when unloaded
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (shown->objectName() == QLatin1String(name) && shown->isVisible()) window = shown;
    ASSERT_NE(window, nullptr);
    QList<QRect> taken;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool operable = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                              qobject_cast<ClickLabel*>(control) || qobject_cast<QAbstractItemView*>(control);
        if (!operable || !control->isVisible()) continue;
        SCOPED_TRACE(control->objectName().toStdString());
        const QRect area(control->mapTo(window, QPoint()), control->size());
        for (const QRect& other : taken)
            EXPECT_FALSE(area.intersects(other));
        taken << area;
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty());
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        EXPECT_EQ(field->width(), window->findChild<QLineEdit*>()->width());
        QTest::keyClicks(field, QStringLiteral("opensesame"));
    }
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window.get(), key);
    Settle();
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_TRUE(ui.messages.empty() && ui.ProgressIfLoaded() == nullptr);
    EXPECT_FALSE(std::filesystem::exists(work / "plain.txt.vwx") || std::filesystem::exists(work / "secret.txt"));
}

INSTANTIATE_TEST_SUITE_P(Table, Keys,
                         ::testing::Values(std::tuple{"EncryptPasswordDialog", nullptr, Qt::Key_Escape},
                                           std::tuple{"DecryptPasswordDialog", nullptr, Qt::Key_Escape},
                                           std::tuple{"SettingsWindow", "settingsAction", Qt::Key_Escape},
                                           std::tuple{"SettingsWindow", "settingsAction", Qt::Key_Return},
                                           std::tuple{"FavouritesWindow", "favouritesAction", Qt::Key_Escape},
                                           std::tuple{"AboutWindow", "aboutAction", Qt::Key_Escape},
                                           std::tuple{"AboutWindow", "aboutAction", Qt::Key_Enter}));

TEST_F(Windows, FavouritesWindowEditsTheListAndItsBatchRunsIt) {
    WriteFile(FavouritesPath(home.Str()), "/d/a.txt\r\n/d/b.txt\r\n");
    Start();
    Child<QAction>(ui.DropZone(), "favouritesAction").trigger();
    FavouritesWindow& window = *ui.FavouritesIfLoaded();
    auto& list = Child<QListWidget>(window, "favouritesList");
    const std::string x = Make("x.txt", "x");
    DropOn(list.viewport(), {x});
    ASSERT_EQ(list.count(), 3);
    list.item(0)->setSelected(true);
    QTest::keyClick(&list, Qt::Key_Delete);
    list.item(0)->setSelected(true);
    Child<QAction>(window, "deleteAction").trigger(); // the list's context menu
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text().toStdString(), x);

    // The batch saves the shown list and closes the window first, then runs the list.
    Child<QAction>(ui.DropZone(), "encryptFavouritesAction").trigger();
    Settle();
    EXPECT_EQ(ui.FavouritesIfLoaded(), nullptr);
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), x + "\r\n");
    EXPECT_TRUE(ui.EncryptDialogIfLoaded() && ui.EncryptDialogIfLoaded()->isVisible());
}

} // namespace
} // namespace vaultwing::test
