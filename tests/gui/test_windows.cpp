// The desktop program's windows, driven like a user would: keys, clicks, drops.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "GuiFixture.h"

namespace vaultwing::test {
namespace {

using Windows = GuiFixture;

// Picks `name` in the language list the way a user does: open the list, click the entry.
void ChooseInList(QComboBox* combo, const QString& name) {
    const int index = combo->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    Settle();
}

TEST_F(Windows, FirstStartAsksForTheLanguageThenShowsTheDropZone) {
    Start();
    LanguageWindow* language = ui.LanguageIfLoaded();
    ASSERT_NE(language, nullptr);
    EXPECT_TRUE(language->isVisible());
    EXPECT_EQ(app->state.firstStart, true);
    ASSERT_NE(ui.MainIfLoaded(), nullptr); // loaded hidden by the first ApplyLanguage
    EXPECT_FALSE(ui.MainIfLoaded()->isVisible());
    EXPECT_EQ(language->cboSprachen->count(), 2);
    EXPECT_TRUE(language->cboSprachen->lineEdit()->isReadOnly());
    EXPECT_EQ(language->cboSprachen->currentText(), QStringLiteral("Sprache / Language"));

    // Confirming before choosing: text 0 is still empty.
    QTest::mouseClick(language->cmdSpracheSet, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].title, "Achtung / Caution");
    EXPECT_TRUE(language->isVisible());

    ASSERT_TRUE(QTest::qWaitForWindowActive(language));
    ChooseInList(language->cboSprachen, QStringLiteral("English"));
    EXPECT_EQ(app->state.language, "English");
    QTest::mouseClick(language->cmdSpracheSet, Qt::LeftButton);
    Settle();

    EXPECT_EQ(Setting("Sprache"), "English");
    EXPECT_EQ(app->state.firstStart, false);
    ASSERT_NE(ui.MainIfLoaded(), nullptr);
    EXPECT_TRUE(ui.MainIfLoaded()->isVisible());
    EXPECT_EQ(ui.LanguageIfLoaded(), nullptr); // closed again after the start
    // The texts reached the windows.
    EXPECT_EQ(ui.MainIfLoaded()->mnuExit->text(), En(lang::kMenuExit));
    EXPECT_EQ(ui.Key().windowTitle(), En(lang::kKeyCaption));
    EXPECT_EQ(ui.Key().lblSchluessel->text(), En(lang::kKeyLabel));
    EXPECT_EQ(ui.KeyDirect().cmdKeyDirect->text(), En(lang::kKeyOkDecrypt));
    EXPECT_FALSE(quit);
    EXPECT_FALSE(ended);
}

TEST_F(Windows, ClosingTheLanguageWindowAtTheFirstStartEndsTheProgram) {
    Start();
    ASSERT_NE(ui.LanguageIfLoaded(), nullptr);
    ui.LanguageIfLoaded()->close();
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_EQ(ui.MainIfLoaded(), nullptr);
}

TEST_F(Windows, LanguageWindowRefusesAProgramFolderWithoutLanguageFiles) {
    TempDir bare;
    programFolder = bare.Str();
    IniStore(bare.Str()).WriteINI("Sprache", "English", kSettingsSection);
    Start();
    EXPECT_TRUE(ended);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].title, "Achtung / Warning");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
}

TEST_F(Windows, LanguageWindowRefusesADriveRoot) {
    programFolder = "/";
    Start();
    EXPECT_TRUE(ended);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_NE(ui.messages[0].text.find("root of a device"), std::string::npos);
}

TEST_F(Windows, DropOfAPlainAndAnEncryptedFileRunsBothDialogs) {
    StartInEnglish();
    const std::string plain = Make("plain.txt", "attack at dawn");
    const std::string sealed = MakeEncrypted("letter.txt", "dear diary", "opensesame");
    ASSERT_TRUE(ui.MainIfLoaded()->isVisible());

    Drop({plain, sealed});
    ASSERT_NE(ui.KeyDirectIfLoaded(), nullptr);
    ASSERT_NE(ui.KeyIfLoaded(), nullptr);
    EXPECT_TRUE(ui.KeyDirectIfLoaded()->isVisible());
    EXPECT_TRUE(ui.KeyIfLoaded()->isVisible());
    EXPECT_FALSE(ui.MainIfLoaded()->isVisible());

    DecryptPasswordDialog& direct = *ui.KeyDirectIfLoaded();
    Type(direct.txtKeyDirect, QStringLiteral("opensesame"));
    Enter(direct.txtKeyDirect); // Enter is OK here
    Settle();
    EXPECT_EQ(ReadFile(work / "letter.txt"), "dear diary");
    EXPECT_TRUE(ui.messages.empty()) << LastMessage();
    EXPECT_FALSE(direct.isVisible()); // stays loaded and hidden for the next decryption
    EXPECT_TRUE(direct.txtKeyDirect->text().isEmpty());

    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    Type(key.txtKey[0], QStringLiteral("Secr3t!pw"));
    Type(key.txtKey[1], QStringLiteral("Secr3t!pw"));
    QTest::mouseClick(key.cmdKey, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(ui.messages.empty()) << LastMessage();
    EXPECT_EQ(ui.KeyIfLoaded(), nullptr); // unloaded after its run
    ASSERT_TRUE(std::filesystem::exists(plain + ".vwx"));
    EXPECT_TRUE(std::filesystem::exists(plain)); // "Delete" is off
    Cipher check(english);
    check.DecryptFile(plain + ".vwx", work / "roundtrip.txt", "Secr3t!pw");
    EXPECT_EQ(ReadFile(work / "roundtrip.txt"), "attack at dawn");
    EXPECT_TRUE(ui.MainIfLoaded()->isVisible());
    EXPECT_FALSE(ui.ProgressIfLoaded()->isVisible());
    EXPECT_TRUE(app->lists.lstDateienEnc.empty());
    EXPECT_TRUE(app->lists.lstDateienDec.empty());
}

TEST_F(Windows, EncryptionDialogRules) {
    StartInEnglish();
    Drop({Make("notes.txt", "some notes")});
    ASSERT_NE(ui.KeyIfLoaded(), nullptr);
    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&key));

    // The meter follows field 0 only: 8 small letters score 24.
    EXPECT_EQ(key.lblKeyQuality->text(), En(lang::kKeyQualityInitial));
    Type(key.txtKey[0], QStringLiteral("abcdefgh"));
    EXPECT_EQ(key.lblKeyQuality->text(), En(lang::kKeyQualityPrefix) + QStringLiteral("24 %"));
    Type(key.txtKey[1], QStringLiteral("ABCDEFGH1!"));
    EXPECT_EQ(key.lblKeyQuality->text(), En(lang::kKeyQualityPrefix) + QStringLiteral("24 %"));

    // Enter in field 0 moves on to field 1; Enter in field 1 is OK (here: a mismatch).
    key.txtKey[0]->setFocus();
    Enter(key.txtKey[0]);
    EXPECT_TRUE(key.txtKey[1]->hasFocus());
    Enter(key.txtKey[1]);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, english.Text(lang::kKeyMismatch));
    EXPECT_EQ(ui.messages[0].title, english.Text(lang::kKeyMessageTitle));
    EXPECT_TRUE(key.txtKey[0]->text().isEmpty());
    EXPECT_TRUE(key.txtKey[1]->text().isEmpty());
    EXPECT_TRUE(key.txtKey[0]->hasFocus());

    // A refused password: text 100, fields emptied, nothing written.
    Type(key.txtKey[0], QStringLiteral("abcabc"));
    Type(key.txtKey[1], QStringLiteral("abcabc"));
    QTest::mouseClick(key.cmdKey, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages[1].text, english.Text(lang::kPasswordRefused));
    EXPECT_EQ(ui.messages[1].title, english.Text(lang::kKeyMessageTitle));
    EXPECT_TRUE(key.txtKey[0]->text().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(work / "notes.txt.vwx"));
    EXPECT_TRUE(key.isVisible());

    // Spaces and control characters never get in, typed or pasted; shortcuts still work.
    Type(key.txtKey[0], QStringLiteral("ab cd\te"));
    EXPECT_EQ(key.txtKey[0]->text(), QStringLiteral("abcde"));
    key.txtKey[0]->insert(QStringLiteral(" x y\x01z"));
    EXPECT_EQ(key.txtKey[0]->text(), QStringLiteral("abcdexyz"));
    QGuiApplication::clipboard()->setText(QStringLiteral("p q"));
    QTest::keyClick(key.txtKey[0], Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(key.txtKey[0]->text(), QStringLiteral("abcdexyzpq"));
    QTest::keyClick(key.txtKey[0], Qt::Key_Backspace);
    EXPECT_EQ(key.txtKey[0]->text(), QStringLiteral("abcdexyzp"));

    // Reveal and hide.
    EXPECT_EQ(key.txtKey[0]->echoMode(), QLineEdit::Password);
    QTest::mouseClick(key.cmdChar, Qt::LeftButton);
    EXPECT_EQ(key.cmdChar->text(), QStringLiteral("*"));
    EXPECT_EQ(key.txtKey[1]->echoMode(), QLineEdit::Normal);
    QTest::mouseClick(key.cmdChar, Qt::LeftButton);
    EXPECT_EQ(key.cmdChar->text(), QStringLiteral("A"));
    EXPECT_EQ(key.txtKey[1]->echoMode(), QLineEdit::Password);

    // Caps lock is off here (no X display): black, text 342.
    EXPECT_EQ(key.lblSBKey->text(), En(lang::kCapsLockOff));

    // Closing the dialog without OK empties the list and brings the drop zone back.
    key.close();
    Settle();
    EXPECT_TRUE(app->lists.lstDateienEnc.empty());
    EXPECT_TRUE(ui.MainIfLoaded()->isVisible());
}

TEST_F(Windows, DeleteModeHintClickedTwiceRestoresSettingAndText) {
    StartInEnglish();
    EncryptPasswordDialog& key = ui.Key();
    DecryptPasswordDialog& direct = ui.KeyDirect();
    Drop({Make("a.txt", "a")}); // a drop re-reads "Delete" and writes the hints
    EXPECT_EQ(key.lblDelHinweis->text(), En(lang::kDeleteModeOff));

    QTest::mouseClick(key.lblDelHinweis, Qt::LeftButton);
    EXPECT_EQ(Setting("Delete"), "1");
    EXPECT_EQ(key.lblDelHinweis->text(), En(lang::kDeleteModeOn));
    EXPECT_EQ(direct.lblDelHinweis2->text(), En(lang::kDeleteModeOn));

    QTest::mouseClick(direct.lblDelHinweis2, Qt::LeftButton);
    EXPECT_EQ(Setting("Delete"), "0");
    EXPECT_EQ(key.lblDelHinweis->text(), En(lang::kDeleteModeOff));
    EXPECT_EQ(direct.lblDelHinweis2->text(), En(lang::kDeleteModeOff));
}

TEST_F(Windows, EmptyDecryptionPasswordIsRefused) {
    StartInEnglish();
    Drop({MakeEncrypted("x", "x", "whatever")});
    DecryptPasswordDialog& direct = *ui.KeyDirectIfLoaded();
    QTest::mouseClick(direct.cmdKeyDirect, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, english.Text(lang::kKeyDirectEmpty));
    EXPECT_TRUE(direct.isVisible());
}

TEST_F(Windows, TrayLeftClickShowsTheHiddenDropZoneAndRightClickOpensTheMenu) {
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();
    main.hide();
    main.Form_MouseMove(514);
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(main.windowFlags() & Qt::WindowType_Mask, Qt::Tool); // no taskbar button

    main.hide();
    main.Form_MouseMove(517); // works while the drop zone is hidden
    EXPECT_TRUE(main.mnuKontext->isVisible());
    EXPECT_EQ(main.mnuKontext->defaultAction(), main.mnuExit);
    EXPECT_FALSE(main.isVisible());
    main.mnuKontext->close();

    main.Form_MouseMove(513); // anything else: nothing
    EXPECT_FALSE(main.isVisible());
}

TEST_F(Windows, RightButtonDragsTheDropZoneThenOpensTheMenu) {
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();
    const QPoint start = main.pos();
    QTest::mousePress(&main, Qt::RightButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), main.mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&main, &move);
    EXPECT_FALSE(main.mnuKontext->isVisible()); // not while the button is held
    QTest::mouseRelease(&main, Qt::RightButton, {}, QPoint(40, 30));
    EXPECT_EQ(main.pos(), start + QPoint(30, 20));
    EXPECT_TRUE(main.mnuKontext->isVisible());
    main.mnuKontext->close();
}

TEST_F(Windows, ExitSavesThePositionAndEnds) {
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();
    main.move(100, 60);
    main.mnuExit->trigger();
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_EQ(Setting("Left"), "1500");
    EXPECT_EQ(Setting("Top"), "900");
    EXPECT_EQ(ui.MainIfLoaded(), nullptr);
    EXPECT_EQ(ui.KeyIfLoaded(), nullptr);
}

TEST_F(Windows, DropZoneComesBackWhereItWas) {
    SetSetting("Left", "3000");
    SetSetting("Top", "1500");
    SetSetting("Transparenz", "128");
    StartInEnglish();
    DropZoneWindow& main = *ui.MainIfLoaded();
    EXPECT_EQ(main.pos(), QPoint(200, 100));
    EXPECT_NEAR(main.windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_EQ(main.size(), QSize(DropZoneWindow::kSize, DropZoneWindow::kSize));
}

TEST_F(Windows, CommandLineStartDecryptsThenEncryptsThenEnds) {
    const std::string sealed = MakeEncrypted("report.doc", "quarterly", "opensesame");
    const std::string plain = Make("photo.jpg", "pixels");
    StartInEnglish(std::vector<std::string>{plain, sealed});
    EXPECT_EQ(app->state.runMode, RunMode::CommandLine);
    EXPECT_FALSE(ui.MainIfLoaded()->isVisible()); // loaded, never shown
    ASSERT_NE(ui.KeyDirectIfLoaded(), nullptr);
    EXPECT_TRUE(ui.KeyDirectIfLoaded()->isVisible());
    EXPECT_FALSE(ui.KeyIfLoaded()->isVisible()); // only the decryption dialog at first

    Type(ui.KeyDirectIfLoaded()->txtKeyDirect, QStringLiteral("opensesame"));
    Enter(ui.KeyDirectIfLoaded()->txtKeyDirect);
    Settle();
    EXPECT_EQ(ReadFile(work / "report.doc"), "quarterly");
    EXPECT_FALSE(quit);
    ASSERT_NE(ui.KeyIfLoaded(), nullptr); // the encryption list gets its dialog next
    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    EXPECT_TRUE(key.isVisible());
    Type(key.txtKey[0], QStringLiteral("Pa55word"));
    Type(key.txtKey[1], QStringLiteral("Pa55word"));
    Enter(key.txtKey[1]);
    Settle();
    EXPECT_TRUE(std::filesystem::exists(plain + ".vwx"));
    EXPECT_TRUE(quit);
    EXPECT_FALSE(ended);
    EXPECT_EQ(ui.MainIfLoaded(), nullptr);
    EXPECT_TRUE(ui.messages.empty()) << LastMessage();
}

TEST_F(Windows, CommandLineStartClosedWithoutOkEnds) {
    StartInEnglish(std::vector<std::string>{Make("a.txt", "a")});
    ASSERT_NE(ui.KeyIfLoaded(), nullptr);
    ui.KeyIfLoaded()->close();
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_FALSE(std::filesystem::exists(work / "a.txt.vwx"));
}

TEST_F(Windows, CancelLeavesNoPartialFile) {
    StartInEnglish();
    const std::string big = Make("big.bin", std::string(3 << 20, 'x'));
    Drop({big});
    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    Type(key.txtKey[0], QStringLiteral("Secr3t!pw"));
    Type(key.txtKey[1], QStringLiteral("Secr3t!pw"));
    bool sawProgress = false;
    // The click arrives while the run lets events run, as a user's would.
    QTimer::singleShot(0, [&] {
        ProgressWindow* progress = ui.ProgressIfLoaded();
        ASSERT_NE(progress, nullptr);
        sawProgress = progress->isVisible();
        EXPECT_EQ(progress->ProgressBar->barColor(), QColor(255, 0, 0));
        EXPECT_EQ(progress->windowTitle(), En(lang::kProgressEncrypt));
        EXPECT_EQ(progress->lblDateiName->text(), QStringLiteral("big.bin"));
        QTest::mouseClick(progress->cmdCancel, Qt::LeftButton);
    });
    QTest::mouseClick(key.cmdKey, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(sawProgress);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, big + "\r\n\r\n" + english.Text(lang::kRunCancelled));
    EXPECT_FALSE(std::filesystem::exists(big + ".vwx"));
    for (const auto& entry : std::filesystem::directory_iterator(work.Path()))
        EXPECT_EQ(entry.path().filename(), "big.bin"); // no temporary file left either
    EXPECT_EQ(ReadFile(big).size(), std::size_t{3} << 20);
    EXPECT_TRUE(ui.MainIfLoaded()->isVisible());
}

TEST_F(Windows, DecryptionProgressIsGreen) {
    StartInEnglish();
    Drop({MakeEncrypted("big", std::string(1 << 20, 'y'), "opensesame")});
    DecryptPasswordDialog& direct = *ui.KeyDirectIfLoaded();
    Type(direct.txtKeyDirect, QStringLiteral("opensesame"));
    QColor colour;
    QString caption;
    QTimer::singleShot(0, [&] {
        colour = ui.ProgressIfLoaded()->ProgressBar->barColor();
        caption = ui.ProgressIfLoaded()->windowTitle();
    });
    Enter(direct.txtKeyDirect);
    Settle();
    EXPECT_EQ(colour, QColor(0, 128, 0));
    EXPECT_EQ(caption, En(lang::kProgressDecrypt));
    EXPECT_EQ(ReadFile(work / "big").size(), std::size_t{1} << 20);
}

} // namespace
} // namespace vaultwing::test

namespace vaultwing::test {
namespace {

// The real message box, answered the way a user would, from inside its own event loop.
TEST_F(Windows, RealMessageBoxIsShownAndAnswered) {
    answer.reset(); // no hook answer: the box itself is shown
    Start();
    LanguageWindow* language = ui.LanguageIfLoaded();
    ASSERT_NE(language, nullptr);
    QString boxText;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        boxText = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::mouseClick(language->cmdSpracheSet, Qt::LeftButton); // nothing chosen yet: invalid
    EXPECT_EQ(boxText, QStringLiteral("Du hast versucht eine ung\u00fcltige Sprachdatei auszuw\u00e4hlen!\n"
                                      "You tried to select a invalid language file!"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(language->isVisible());
}

} // namespace
} // namespace vaultwing::test

namespace vaultwing::test {
namespace {

// Exit from the tray menu while a file is being encrypted: the run stops as if cancelled.
TEST_F(Windows, ExitDuringARunLeavesNoPartialFile) {
    StartInEnglish();
    const std::string big = Make("big.bin", std::string(2 << 20, 'z'));
    Drop({big});
    EncryptPasswordDialog& key = *ui.KeyIfLoaded();
    Type(key.txtKey[0], QStringLiteral("Secr3t!pw"));
    Type(key.txtKey[1], QStringLiteral("Secr3t!pw"));
    DropZoneWindow* main = ui.MainIfLoaded();
    QTimer::singleShot(0, [main] { main->mnuExit->trigger(); });
    QTest::mouseClick(key.cmdKey, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(quit);
    EXPECT_FALSE(std::filesystem::exists(big + ".vwx"));
    EXPECT_EQ(ReadFile(big).size(), std::size_t{2} << 20);
    EXPECT_FALSE(app->state.runActive);
    EXPECT_EQ(ui.MainIfLoaded(), nullptr);
    EXPECT_EQ(ui.ProgressIfLoaded(), nullptr);
}

} // namespace
} // namespace vaultwing::test

namespace vaultwing::test {
namespace {

// Opened later (from the settings window), the language window switches the running program.
TEST_F(Windows, LanguageChangedLaterReachesEveryWindow) {
    StartInEnglish();
    ui.ShowLanguageWindow();
    LanguageWindow* language = ui.LanguageIfLoaded();
    ASSERT_TRUE(QTest::qWaitForWindowActive(language));
    EXPECT_EQ(language->cboSprachen->currentText(), QStringLiteral("English")); // the stored setting
    ChooseInList(language->cboSprachen, QStringLiteral("Deutsch"));
    QTest::mouseClick(language->cmdSpracheSet, Qt::LeftButton);
    Settle();
    EXPECT_EQ(Setting("Sprache"), "Deutsch");
    EXPECT_EQ(ui.LanguageIfLoaded(), nullptr);
    EXPECT_EQ(ui.MainIfLoaded()->mnuExit->text(), QStringLiteral("Beenden"));
    EXPECT_EQ(ui.Key().windowTitle(), QString::fromUtf8("Verschl\xC3\xBCsseln"));
    EXPECT_TRUE(ui.MainIfLoaded()->isVisible());
}

TEST_F(Windows, FavouritesCommandsFollowTheFavouritesFileAndTheHotRegionSetting) {
    SetSetting("HotRegion", "1");
    StartInEnglish();
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled()); // no favourites stored
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenDec->isEnabled());
    EXPECT_TRUE(ui.MainIfLoaded()->tmrHotRegion->isActive());
    EXPECT_EQ(ui.MainIfLoaded()->tmrHotRegion->interval(), 100);

    ui.QuitApplication();
    Settle();
    ASSERT_TRUE(SaveFavourites(home.Str(), {Make("fav.txt", "f")}));
    SetSetting("HotRegion", "0");
    QtUi second;
    Application again(home.Str(), second);
    second.Attach(again);
    second.messageHook = ui.messageHook;
    Guarded([&] { again.startup.Main(); });
    ASSERT_NE(second.MainIfLoaded(), nullptr);
    EXPECT_TRUE(second.MainIfLoaded()->mnuFavoritenEnc->isEnabled());
    EXPECT_TRUE(second.MainIfLoaded()->mnuFavoritenDec->isEnabled());
    EXPECT_FALSE(second.MainIfLoaded()->tmrHotRegion->isActive());

    // The favourites batch from the menu opens the encryption dialog for the stored file.
    second.MainIfLoaded()->mnuFavoritenEnc->trigger();
    Settle();
    ASSERT_NE(second.KeyIfLoaded(), nullptr);
    EXPECT_TRUE(second.KeyIfLoaded()->isVisible());
    EXPECT_EQ(again.lists.lstDateienEnc, std::vector<std::string>{work / "fav.txt"});
    second.DeleteWindows();
}

} // namespace
} // namespace vaultwing::test
