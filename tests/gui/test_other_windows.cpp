// The settings, favourites and about windows, driven like a user would.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>

#include "GuiFixture.h"
#include "gui/Downloader.h"
#include "gui/windows/AboutWindow.h"
#include "gui/windows/SettingsWindow.h"
#include "gui/widgets/BarSlider.h"
#include "gui/widgets/FileDropList.h"
#include "gui/widgets/HotRegionPicture.h"
#include "gui/widgets/MarqueeBox.h"
#include "favourites/FavouritesFile.h"
#include "gui/windows/FavouritesWindow.h"
#include "support/ScopedEnv.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

class OtherWindows : public GuiFixture {
protected:
    OtherWindows() {
        ui.openDocumentHook = [this](const std::string& what) {
            opened.push_back(what);
            return true;
        };
    }

    [[nodiscard]] bool Association() const { return fs::exists(data / "applications/vaultwing-vwx.desktop"); }
    [[nodiscard]] std::size_t Launchers() const {
        std::size_t n = 0;
        std::error_code ec;
        for (auto it = fs::directory_iterator(data / "nautilus/scripts", ec); !ec && it != fs::directory_iterator();
             it.increment(ec))
            ++n;
        return n;
    }

    // Drops `paths` on the favourites list as a file manager would.
    void DropOnFavourites(const std::vector<std::string>& paths) {
        QWidget* target = ui.Favourites().lstFavoriten->viewport();
        QMimeData mime;
        QList<QUrl> urls;
        for (const auto& p : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(p));
        mime.setUrls(urls);
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        Settle();
    }
    [[nodiscard]] std::vector<std::string> Shown() {
        std::vector<std::string> entries;
        const QListWidget* list = ui.Favourites().lstFavoriten;
        for (int i = 0; i < list->count(); ++i)
            entries.push_back(list->item(i)->text().toStdString());
        return entries;
    }
    [[nodiscard]] int Count(int textIndex) const {
        int n = 0;
        for (const auto& m : ui.messages)
            n += m.text == english.Text(textIndex) ? 1 : 0;
        return n;
    }

    TempDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Str().c_str()};
    std::vector<std::string> opened;
};

// ---------------------------------------------------------------------------------------------
// Settings window
// ---------------------------------------------------------------------------------------------

TEST_F(OtherWindows, SettingsLoadAppliesEnabledOptionsAgainAtEveryStart) {
    SetSetting("Register", "1");
    SetSetting("SendTo", "1");
    SetSetting("HotRegion", "1");
    SetSetting("Delete", "2");
    StartInEnglish();
    SettingsWindow* settings = ui.SettingsIfLoaded();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->isVisible()); // loaded hidden at the start
    EXPECT_TRUE(Association());
    EXPECT_EQ(Launchers(), 1U);
    EXPECT_TRUE(ui.MainIfLoaded()->tmrHotRegion->isActive());
    EXPECT_EQ(Setting("Delete"), "1"); // the tick wrote its own value back
    EXPECT_TRUE(app->state.deleteSources);
    EXPECT_TRUE(settings->chkFileDel->isChecked());
    EXPECT_TRUE(settings->chkRegister->isChecked());
    EXPECT_TRUE(settings->chkSendTo->isChecked());
    EXPECT_EQ(ui.Key().lblDelHinweis->text(), En(lang::kDeleteModeOn));
    EXPECT_EQ(settings->windowTitle(), En(lang::kSettingsCaption));
    EXPECT_EQ(settings->chkRegister->text(), En(lang::kSettingsRegister));
    EXPECT_EQ(settings->mnuInfoAbout->text(), En(lang::kMenuAbout));

    // Unticking removes what the tick made, and the timer stops.
    settings->chkRegister->click();
    settings->chkHotRegion->click();
    EXPECT_FALSE(Association());
    EXPECT_FALSE(ui.MainIfLoaded()->tmrHotRegion->isActive());
    EXPECT_EQ(Setting("Register"), "0");
    EXPECT_EQ(Setting("HotRegion"), "0");
}

TEST_F(OtherWindows, SettingsWithNothingSetApplyNothing) {
    StartInEnglish();
    SettingsWindow* settings = ui.SettingsIfLoaded();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(Association());
    EXPECT_EQ(Launchers(), 0U);
    EXPECT_FALSE(ui.MainIfLoaded()->tmrHotRegion->isActive());
    EXPECT_FALSE(settings->chkFileDel->isChecked());
    EXPECT_EQ(Setting("Transparenz"), "255");
    EXPECT_EQ(settings->hsbTransparent->value(), 255);
    EXPECT_NEAR(ui.MainIfLoaded()->windowOpacity(), 1.0, 0.001);
}

TEST_F(OtherWindows, SendToTickUntickTickLeavesOneLauncher) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuSettings->trigger();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    ASSERT_TRUE(settings.isVisible());
    for (const bool expected : {true, false, true}) {
        QTest::mouseClick(settings.chkSendTo, Qt::LeftButton, {}, QPoint(8, settings.chkSendTo->height() / 2));
        EXPECT_EQ(settings.chkSendTo->isChecked(), expected);
        EXPECT_EQ(Setting("SendTo"), expected ? "1" : "0");
        EXPECT_EQ(Launchers(), expected ? 1U : 0U);
    }
}

TEST_F(OtherWindows, ShowHotRegionStatusShowsTheEdgesTheDropZoneKeeps) {
    SetSetting("HotRegion Oben", "1");
    SetSetting("HotRegion Unten", "0");
    SetSetting("HotRegion Links", "0");
    SetSetting("HotRegion Rechts", "0");
    StartInEnglish();
    ui.MainIfLoaded()->mnuSettings->trigger(); // ShowHotRegionStatus, then shown
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    for (int edge = 0; edge < kEdgeCount; ++edge) {
        SCOPED_TRACE(edge);
        const bool on = edge == kEdgeTop;
        EXPECT_EQ(settings.lblStatus[edge]->text(), En(on ? lang::kEdgeOn : lang::kEdgeOff));
        EXPECT_EQ(settings.Linie->lineColor(edge), on ? kRed : kBlack);
    }

    // The panel: the options step aside, the caption changes, and back.
    QTest::mouseClick(settings.cmdHotRegionSet, Qt::LeftButton);
    EXPECT_FALSE(settings.fraForm->isVisible());
    EXPECT_TRUE(settings.fraSettings->isVisible());
    EXPECT_EQ(settings.windowTitle(), En(lang::kSettingsHotRegionCaption));
    QTest::mouseClick(settings.lblStatus[kEdgeLeft], Qt::LeftButton);
    EXPECT_EQ(Setting("HotRegion Links"), "1");
    EXPECT_TRUE(ui.MainIfLoaded()->hotRegion.left);
    EXPECT_EQ(settings.Linie->lineColor(kEdgeLeft), kRed);
    QTest::mouseClick(settings.lblStatus[kEdgeTop], Qt::LeftButton);
    EXPECT_EQ(Setting("HotRegion Oben"), "0");
    EXPECT_FALSE(ui.MainIfLoaded()->hotRegion.top);
    EXPECT_EQ(settings.lblStatus[kEdgeTop]->text(), En(lang::kEdgeOff));
    QTest::mouseClick(settings.cmdHotRegionOK, Qt::LeftButton);
    EXPECT_TRUE(settings.fraForm->isVisible());
    EXPECT_EQ(settings.windowTitle(), En(lang::kSettingsCaption));
}

TEST_F(OtherWindows, EqualEdgeTextsSwitchAnEdgeOnAtEveryClick) {
    StartInEnglish();
    app->state.texts.Set(lang::kEdgeOff, "Edge");
    app->state.texts.Set(lang::kEdgeOn, "Edge");
    ui.MainIfLoaded()->mnuSettings->trigger();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(settings.lblStatus[kEdgeRight], Qt::LeftButton);
        EXPECT_EQ(Setting("HotRegion Rechts"), "1");
        EXPECT_EQ(settings.Linie->lineColor(kEdgeRight), kRed);
    }
}

TEST_F(OtherWindows, TransparencySliderAppliesAndWritesAtOnce) {
    SetSetting("Transparenz", "200");
    StartInEnglish();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    EXPECT_EQ(settings.hsbTransparent->value(), 200);
    ui.MainIfLoaded()->mnuSettings->trigger();
    BarSlider* slider = settings.hsbTransparent;
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(0, slider->height() / 2));
    EXPECT_EQ(slider->value(), kMinTransparency);
    EXPECT_EQ(Setting("Transparenz"), "40");
    EXPECT_NEAR(ui.MainIfLoaded()->windowOpacity(), 40 / 255.0, 0.01);
    QTest::mouseClick(slider, Qt::RightButton, {}, QPoint(slider->width() - 1, slider->height() / 2));
    EXPECT_EQ(Setting("Transparenz"), "41"); // one step toward the pointer
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, slider->height() / 2));
    EXPECT_EQ(Setting("Transparenz"), "255");
}

TEST_F(OtherWindows, DeleteModeHintFlipsTheSettingsCheckBox) {
    StartInEnglish();
    SettingsWindow& settings = *ui.SettingsIfLoaded();
    QTest::mouseClick(ui.Key().lblDelHinweis, Qt::LeftButton);
    EXPECT_TRUE(settings.chkFileDel->isChecked());
    EXPECT_EQ(Setting("Delete"), "1");
    QTest::mouseClick(ui.KeyDirect().lblDelHinweis2, Qt::LeftButton);
    EXPECT_FALSE(settings.chkFileDel->isChecked());
    EXPECT_EQ(Setting("Delete"), "0");
}

TEST_F(OtherWindows, SettingsMenuOpensManualAboutAndClosesWithOk) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuSettings->trigger();
    SettingsWindow* settings = ui.SettingsIfLoaded();
    settings->mnuHilfe->trigger();
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0], home / "Bedienungsanleitung.pdf");

    settings->mnuInfoAbout->trigger();
    AboutWindow* info = ui.InfoIfLoaded();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(info->tmrLaufschrift->isActive());
    EXPECT_EQ(info->parentWidget(), ui.MainIfLoaded()); // owned by the drop zone
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Vaultwing"));
    EXPECT_TRUE(info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QTest::mouseClick(settings->cmdSettingsOK, Qt::LeftButton);
    Settle();
    EXPECT_EQ(ui.SettingsIfLoaded(), nullptr);
    // The next touch loads it again, with its load steps.
    SetSetting("HotRegion", "1");
    ui.MainIfLoaded()->mnuSettings->trigger();
    ASSERT_NE(ui.SettingsIfLoaded(), nullptr);
    EXPECT_TRUE(ui.SettingsIfLoaded()->chkHotRegion->isChecked());
    EXPECT_TRUE(ui.MainIfLoaded()->tmrHotRegion->isActive());
}

// ---------------------------------------------------------------------------------------------
// Favourites window
// ---------------------------------------------------------------------------------------------

TEST_F(OtherWindows, NoFavouritesFileDisablesTheDropZonesCommands) {
    StartInEnglish();
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled());
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenDec->isEnabled());
}

TEST_F(OtherWindows, FavouritesFileEnablesTheDropZonesCommands) {
    WriteFile(FavouritesPath(home.Str()), "/d/b.txt\r\n/D/a.txt\r\n");
    StartInEnglish();
    EXPECT_TRUE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled());
    EXPECT_TRUE(ui.MainIfLoaded()->mnuFavoritenDec->isEnabled());
    FavouritesWindow* favourites = ui.FavouritesIfLoaded();
    ASSERT_NE(favourites, nullptr);
    EXPECT_FALSE(favourites->isVisible());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"/D/a.txt", "/d/b.txt"}));
    EXPECT_EQ(favourites->windowTitle(), En(lang::kFavouritesCaption));
    EXPECT_EQ(favourites->mnuPath->text(), En(lang::kFavouritesRelative));
}

TEST_F(OtherWindows, FavouritesDropsAndDuplicates) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuFavoriten->trigger();
    FavouritesWindow& favourites = *ui.FavouritesIfLoaded();
    ASSERT_TRUE(favourites.isVisible());
    EXPECT_GE(favourites.width(), FavouritesWindow::kMinWidth);
    EXPECT_GE(favourites.height(), FavouritesWindow::kMinHeight);
    EXPECT_TRUE(favourites.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    const std::string x = Make("x.txt", "x");
    DropOnFavourites({x});
    EXPECT_EQ(Shown(), std::vector<std::string>{x});
    EXPECT_TRUE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled());

    // Every form of the same file is a duplicate: other case, encrypted, without extension.
    for (const std::string& same : {work / "X.TXT", x + ".vwx"}) {
        DropOnFavourites({same});
        EXPECT_EQ(Shown().size(), 1U) << same;
    }
    EXPECT_EQ(Count(lang::kAlreadyFavourite), 2);
    DropOnFavourites({work / "x"}); // the stripped form is a new entry...
    EXPECT_EQ(Shown().size(), 2U);
    DropOnFavourites({work / "x.doc"}); // ...and now catches other extensions
    EXPECT_EQ(Shown().size(), 2U);
    EXPECT_EQ(Count(lang::kAlreadyFavourite), 3);

    // Three files with a listed second: the first is added, the third never looked at.
    const std::string a = Make("a.txt", "a"), c = Make("c.txt", "c");
    DropOnFavourites({a, x, c});
    EXPECT_EQ(Shown(), (std::vector<std::string>{a, work / "x", x}));
    EXPECT_EQ(Count(lang::kAlreadyFavourite), 4);
    EXPECT_EQ(ui.messages.back().title, english.Text(lang::kWarningTitle));
}

TEST_F(OtherWindows, FavouritesDeleteKeyContextMenuAndLastEntry) {
    WriteFile(FavouritesPath(home.Str()), "/d/a.txt\r\n/d/b.txt\r\n/d/c.txt\r\n");
    StartInEnglish();
    ui.MainIfLoaded()->mnuFavoriten->trigger();
    FavouritesWindow& favourites = *ui.FavouritesIfLoaded();
    FileDropList* list = favourites.lstFavoriten;
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(Shown(), std::vector<std::string>{"/d/b.txt"});
    EXPECT_TRUE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled());

    // A right press opens the menu with Delete as its default and leaves the selection alone.
    list->item(0)->setSelected(true);
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(favourites.mnuKontext->isVisible());
    EXPECT_EQ(favourites.mnuKontext->defaultAction(), favourites.mnuDelete);
    EXPECT_EQ(favourites.mnuDelete->text(), En(lang::kFavouritesDelete));
    EXPECT_TRUE(list->item(0)->isSelected());
    favourites.mnuDelete->trigger();
    favourites.mnuKontext->close();
    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenEnc->isEnabled());
    EXPECT_FALSE(ui.MainIfLoaded()->mnuFavoritenDec->isEnabled());
    // The file changes only when the window closes: then no file is left.
    EXPECT_TRUE(fs::exists(FavouritesPath(home.Str())));
    favourites.close();
    Settle();
    EXPECT_EQ(ui.FavouritesIfLoaded(), nullptr);
    EXPECT_FALSE(fs::exists(FavouritesPath(home.Str())));
}

TEST_F(OtherWindows, FavouritesSavedOnCloseAndAtTheEnd) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuFavoriten->trigger();
    const std::string comma = Make("a,b.txt", "x");
    DropOnFavourites({comma});
    ui.FavouritesIfLoaded()->close();
    Settle();
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), comma + "\r\n");
    ui.MainIfLoaded()->mnuFavoriten->trigger(); // loaded afresh from the file
    EXPECT_EQ(Shown(), std::vector<std::string>{comma});

    const std::string more = Make("more.txt", "y");
    DropOnFavourites({more}); // never closed: Exit saves it
    ui.MainIfLoaded()->mnuExit->trigger();
    Settle();
    EXPECT_EQ(ReadFile(FavouritesPath(home.Str())), comma + "\r\n" + more + "\r\n");
}

TEST_F(OtherWindows, FavouritesBatchSavesTheShownListFirst) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuFavoriten->trigger();
    const std::string file = Make("report.txt", "numbers");
    DropOnFavourites({file});
    ui.MainIfLoaded()->mnuFavoritenEnc->trigger();
    Settle();
    EXPECT_EQ(ui.FavouritesIfLoaded(), nullptr); // closed, which saved the list
    EXPECT_EQ(app->lists.lstDateienEnc, std::vector<std::string>{file});
    ASSERT_NE(ui.KeyIfLoaded(), nullptr);
    EXPECT_TRUE(ui.KeyIfLoaded()->isVisible());
}

TEST_F(OtherWindows, FavouritesPathModeSwitchFailingChangesNothing) {
    fs::create_directories(work.Path() / "x/y");
    ScopedCwd inside(work.Path() / "x/y");
    const std::string a = Make("a.txt", "a");
    const std::string above = work / "x"; // above the working directory: no relative form
    WriteFile(FavouritesPath(home.Str()), a + "\r\n" + above + "\r\n");
    StartInEnglish();
    ui.MainIfLoaded()->mnuFavoriten->trigger();
    FavouritesWindow& favourites = *ui.FavouritesIfLoaded();
    const auto before = Shown();
    EXPECT_FALSE(favourites.mnuPath->isChecked());
    favourites.mnuPath->trigger();
    EXPECT_EQ(Shown(), before);
    EXPECT_FALSE(favourites.mnuPath->isChecked());
    EXPECT_EQ(app->state.pathMode, PathMode::Absolute);
    EXPECT_EQ(Setting("Pfad"), "");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, english.Text(lang::kPathAboveBase));

    // Without that entry the switch works, both ways.
    favourites.lstFavoriten->item(before[0] == above ? 0 : 1)->setSelected(true);
    favourites.mnuDelete->trigger();
    favourites.mnuPath->trigger();
    EXPECT_TRUE(favourites.mnuPath->isChecked());
    EXPECT_EQ(Setting("Pfad"), "1");
    EXPECT_EQ(Shown(), std::vector<std::string>{"../../a.txt"});
    favourites.mnuPath->trigger();
    EXPECT_FALSE(favourites.mnuPath->isChecked());
    EXPECT_EQ(Shown(), std::vector<std::string>{a});
}

// ---------------------------------------------------------------------------------------------
// About window
// ---------------------------------------------------------------------------------------------

TEST_F(OtherWindows, AboutMarqueeMovesAPixelPerTickAndLoops) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuAbout->trigger();
    AboutWindow& info = *ui.InfoIfLoaded();
    EXPECT_EQ(info.tmrLaufschrift->interval(), 15);
    info.tmrLaufschrift->stop();
    MarqueeBox* box = info.picLaufschrift;
    EXPECT_EQ(box->text().toStdString(), CreditsLine() + english.Text(lang::kMarquee));
    const int width = box->textWidth();
    ASSERT_GT(width, box->width());
    EXPECT_EQ(box->position(), 1);
    for (int tick = 1; tick < width + 1; ++tick) {
        info.tmrLaufschrift_Timer();
        ASSERT_EQ(box->position(), 1 - tick);
    }
    info.tmrLaufschrift_Timer();
    EXPECT_EQ(box->position(), 1);

    // OK stops the marquee and closes the window.
    info.tmrLaufschrift->start();
    QTest::mouseClick(info.cmdOK, Qt::LeftButton);
    Settle();
    EXPECT_EQ(ui.InfoIfLoaded(), nullptr);
}

TEST_F(OtherWindows, AboutLinksOpenTheAddressesAndClose) {
    StartInEnglish();
    ui.MainIfLoaded()->mnuAbout->trigger();
    QTest::mouseClick(ui.InfoIfLoaded()->lblURL, Qt::LeftButton);
    Settle();
    EXPECT_EQ(ui.InfoIfLoaded(), nullptr);
    ui.MainIfLoaded()->mnuAbout->trigger();
    EXPECT_EQ(ui.InfoIfLoaded()->pbEmail->toolTip(), En(lang::kTipContact));
    QTest::mouseClick(ui.InfoIfLoaded()->pbEmail, Qt::LeftButton);
    Settle();
    EXPECT_EQ(ui.InfoIfLoaded(), nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{WebsiteAddress(), ContactAddress()}));
}

// A small HTTP server on 127.0.0.1: one request per connection, answers from a table.
class LocalHttpServer : public QObject {
public:
    LocalHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            }
        });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }
    [[nodiscard]] bool Listening() const { return listening_; }
    [[nodiscard]] std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(server_.serverPort()); }
    void Serve(const QByteArray& target, int status, const QByteArray& body) { routes_[target] = {status, body}; }

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
        pending_.remove(socket);
        const auto route = routes_.find(requestLine.size() > 1 ? requestLine[1] : QByteArray());
        const auto [status, body] = route != routes_.end() ? *route : std::pair<int, QByteArray>{404, "none"};
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
            if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    bool listening_ = false;
    QHash<QByteArray, std::pair<int, QByteArray>> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000) return false; // a hang, not a speed test
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct UpdateCase {
    const char* name;
    int status;
    const char* body;
    int expectedText; // 712: the offer
};

class LiveUpdate : public OtherWindows, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(LiveUpdate, ChecksTheVersionFileAndLeavesNoCopy) {
    const UpdateCase& c = GetParam();
    LocalHttpServer server;
    ASSERT_TRUE(server.Listening());
    const QByteArray address = QByteArray::fromStdString(VersionFileAddress(server.HostAndPort()));
    server.Serve(address.mid(address.indexOf('/', 7)), c.status, c.body);
    StartInEnglish();
    ui.MainIfLoaded()->mnuAbout->trigger();
    AboutWindow& info = *ui.InfoIfLoaded();
    info.server = server.HostAndPort();
    answer = MsgAnswer::Yes;
    QTest::mouseClick(info.pbLiveUpdate, Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !ui.messages.empty(); }));
    Settle();
    ASSERT_EQ(ui.messages.size(), 1U);
    const Message& shown = ui.messages[0];
    EXPECT_FALSE(fs::exists(home / "version.ini"));
    if (c.expectedText == lang::kUpdateOffered) {
        EXPECT_EQ(shown.text,
                  english.Text(lang::kUpdateOffered) + " [Version1.5.2]\r\n" + english.Text(lang::kUpdateQuestion));
        EXPECT_EQ(shown.buttons, MsgButtons::YesNo);
        // Yes opens the archive and closes the window.
        EXPECT_EQ(opened, std::vector<std::string>{UpdateArchiveAddress(server.HostAndPort())});
        EXPECT_EQ(ui.InfoIfLoaded(), nullptr);
    } else {
        EXPECT_EQ(shown.text, english.Text(c.expectedText));
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
        EXPECT_TRUE(opened.empty());
        EXPECT_NE(ui.InfoIfLoaded(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LiveUpdate,
                         ::testing::Values(UpdateCase{"Newer", 200, "[Einstellungen]\r\nversion=1.5.2\r\n", 712},
                                           UpdateCase{"Older", 200, "[Einstellungen]\r\nversion=1.4.9\r\n", 716},
                                           UpdateCase{"TwoParts", 200, "[Einstellungen]\r\nversion=1.6\r\n", 716},
                                           UpdateCase{"NoKey", 200, "[Einstellungen]\r\nother=2.0.0\r\n", 716},
                                           UpdateCase{"Failed", 404, "gone", 708}),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(OtherWindows, SettingsLiveUpdateUsesTheHiddenAboutWindow) {
    LocalHttpServer server;
    ASSERT_TRUE(server.Listening());
    const QByteArray address = QByteArray::fromStdString(VersionFileAddress(server.HostAndPort()));
    server.Serve(address.mid(address.indexOf('/', 7)), 200, "[Einstellungen]\r\nversion=1.5.2\r\n");
    StartInEnglish();
    ui.Info().server = server.HostAndPort();
    answer = MsgAnswer::No;
    ui.MainIfLoaded()->mnuSettings->trigger();
    ui.SettingsIfLoaded()->mnuLiveUpdate->trigger();
    ASSERT_TRUE(WaitUntil([&] { return !ui.messages.empty(); }));
    Settle();
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    ASSERT_NE(ui.InfoIfLoaded(), nullptr); // No: it stays loaded, hidden
    EXPECT_FALSE(ui.InfoIfLoaded()->isVisible());
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(fs::exists(home / "version.ini"));
}

} // namespace
} // namespace vaultwing::test
