// The download component and the live-update check it starts, against a small HTTP server that
// the tests run on 127.0.0.1 (nothing leaves the machine).
#include "about/DL.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "about/LiveUpdate.h"
#include "config/LangIndices.h"
#include "support/TempDir.h"

namespace vaultwing {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// A minimal HTTP/1.1 server: one request per connection, answers from a table of paths.
// ---------------------------------------------------------------------------------------------

struct Response {
    int status = 200;
    QByteArray body;
    QByteArray location; // for redirects
    bool stall = false;  // send the headers and a little of the body, then nothing more
};

class TinyHttpServer : public QObject {
public:
    TinyHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }

    [[nodiscard]] bool Listening() const { return listening_; }
    [[nodiscard]] QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }
    [[nodiscard]] QString HostAndPort() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }

    void Serve(const QByteArray& target, Response response) { routes_[target] = std::move(response); }
    // Every request seen: request target and its header block.
    std::vector<std::pair<QByteArray, QByteArray>> requests;

private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    }

    void Read(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        const auto end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray head = buffer.left(end);
        pending_.remove(socket);
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        const QByteArray target = requestLine.size() > 1 ? requestLine[1] : QByteArray();
        requests.emplace_back(target, head);

        const auto route = routes_.find(target);
        const Response response = route != routes_.end() ? *route : Response{404, "<html>Not Found</html>", {}, false};
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " X\r\n";
        if (!response.location.isEmpty()) reply += "Location: " + response.location + "\r\n";
        reply +=
            "Content-Length: " + QByteArray::number(response.stall ? response.body.size() * 100 : response.body.size());
        reply += "\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n" + response.body;
        socket->write(reply);
        if (!response.stall) {
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
                if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
            });
        }
    }

    QTcpServer server_;
    bool listening_ = false;
    QHash<QByteArray, Response> routes_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// ---------------------------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------------------------

// Lets events run until `done` holds; false after `ms` milliseconds (a hang, not a speed test).
bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets events run for a while, so that a second signal that should not come would.
void Settle(int ms = 150) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

struct Recorder {
    std::vector<std::pair<qint64, QString>> completed;
    std::vector<std::tuple<qint64, qint64, QString>> progress;

    explicit Recorder(DL& dl) {
        QObject::connect(&dl, &DL::Completed,
                         [this](qint64 bytes, const QString& id) { completed.emplace_back(bytes, id); });
        QObject::connect(&dl, &DL::Progress, [this](qint64 received, qint64 total, const QString& id) {
            progress.emplace_back(received, total, id);
        });
    }
};

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

const LangTable& Texts() {
    static const LangTable texts = [] {
        LangTable t;
        t.Set(lang::kWarningTitle, "T418");
        t.Set(lang::kDownloadFailed, "T708");
        t.Set(lang::kUpdateTitle, "T710");
        t.Set(lang::kUpdateOffered, "T712");
        t.Set(lang::kUpdateQuestion, "T714");
        t.Set(lang::kNoNewerVersion, "T716");
        return t;
    }();
    return texts;
}

const Message kFailed{"T708", "T418", MsgIcon::Exclamation, MsgButtons::Ok};
const Message kNoNewer{"T716", "T710", MsgIcon::Information, MsgButtons::Ok};

// The server answers the version file's real address: the click counter redirects to the file.
void ServeVersionFile(TinyHttpServer& server, const QByteArray& body, int status = 200) {
    const QByteArray fileTarget = "/vwx/version/version.ini";
    const QByteArray counter = QByteArray::fromStdString(VersionFileAddress(server.HostAndPort().toStdString()));
    const QByteArray counterTarget = counter.mid(counter.indexOf('/', 7)); // after "http://host:port"
    server.Serve(counterTarget, {302, {}, server.Base().toUtf8() + fileTarget, false});
    server.Serve(fileTarget, {status, body, {}, false});
}

// ---------------------------------------------------------------------------------------------
// The live-update check end to end
// ---------------------------------------------------------------------------------------------

struct CheckCase {
    const char* name;
    int status;
    const char* body;
    Message expected;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveUpdateThroughDL : public ::testing::TestWithParam<CheckCase> {};

TEST_P(LiveUpdateThroughDL, DownloadsDecidesAndLeavesNoVersionFile) {
    const auto& c = GetParam();
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    ServeVersionFile(server, c.body, c.status);
    test::TempDir programFolder;
    const std::string versionFile = programFolder / "version.ini";

    DL dl;
    Recorder rec(dl);
    dl.Download(QString::fromStdString(VersionFileAddress(server.HostAndPort().toStdString())),
                QString::fromStdString(versionFile));
    ASSERT_TRUE(WaitUntil([&] { return !rec.completed.empty(); }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 1u);
    EXPECT_EQ(rec.completed[0].second, QString());
    const bool ok = c.status == 200 && c.body[0] != '\0';
    EXPECT_EQ(rec.completed[0].first, ok ? static_cast<qint64>(std::strlen(c.body)) : 0);
    EXPECT_EQ(fs::exists(versionFile), ok);

    const auto outcome = CheckDownloadedVersion(rec.completed[0].first, programFolder.Str(), Texts());
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->message, c.expected);
    EXPECT_TRUE(Names(programFolder.Path()).empty()); // neither version.ini nor a temporary file

    // Fresh from the server every time: a cache must not answer.
    ASSERT_FALSE(server.requests.empty());
    EXPECT_TRUE(server.requests[0].second.contains("Cache-Control: no-cache")) << server.requests[0].second.data();
}

INSTANTIATE_TEST_SUITE_P(
    Table, LiveUpdateThroughDL,
    ::testing::Values(CheckCase{"Newer",
                                200,
                                "[Einstellungen]\r\nversion=1.5.2\r\n",
                                {"T712 [Version1.5.2]\r\nT714", "T710", MsgIcon::Information, MsgButtons::YesNo}},
                      CheckCase{"Older", 200, "[Einstellungen]\r\nversion=1.4.9\r\n", kNoNewer},
                      CheckCase{"TwoParts", 200, "[Einstellungen]\r\nversion=1.6\r\n", kNoNewer},
                      CheckCase{"NoKey", 200, "[Einstellungen]\r\nsomething=else\r\n", kNoNewer},
                      CheckCase{"NotFound", 404, "[Einstellungen]\r\nversion=1.5.2\r\n", kFailed},
                      CheckCase{"ServerError", 500, "oops", kFailed}, CheckCase{"EmptyFile", 200, "", kFailed}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(LiveUpdateThroughDL, ConnectionRefusedIsAFailedDownload) {
    quint16 port = 0;
    {
        QTcpServer probe; // a port that was free a moment ago and is closed now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    test::TempDir programFolder;
    DL dl;
    Recorder rec(dl);
    dl.Download(QStringLiteral("http://127.0.0.1:%1/vwx/version/version.ini").arg(port),
                QString::fromStdString(programFolder / "version.ini"), QStringLiteral("live"));
    ASSERT_TRUE(WaitUntil([&] { return !rec.completed.empty(); }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 1u);
    EXPECT_EQ(rec.completed[0], std::make_pair(qint64{0}, QStringLiteral("live")));
    EXPECT_EQ(CheckDownloadedVersion(0, programFolder.Str(), Texts())->message, kFailed);
    EXPECT_TRUE(Names(programFolder.Path()).empty());
}

TEST(LiveUpdateThroughDL, AnExistingVersionFileIsNeitherReplacedNorRead) {
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    ServeVersionFile(server, "[Einstellungen]\r\nversion=1.5.2\r\n");
    test::TempDir programFolder;
    const std::string versionFile = programFolder / "version.ini";
    test::WriteFile(versionFile, "[Einstellungen]\r\nversion=9.9.9\r\n");

    DL dl;
    Recorder rec(dl);
    dl.Download(QString::fromStdString(VersionFileAddress(server.HostAndPort().toStdString())),
                QString::fromStdString(versionFile));
    ASSERT_TRUE(WaitUntil([&] { return !rec.completed.empty(); }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 1u);
    EXPECT_EQ(rec.completed[0].first, 0); // the move failed: nothing arrived where it was asked for
    EXPECT_EQ(CheckDownloadedVersion(rec.completed[0].first, programFolder.Str(), Texts())->message, kFailed);
    EXPECT_EQ(test::ReadFile(versionFile), "[Einstellungen]\r\nversion=9.9.9\r\n");
    EXPECT_EQ(Names(programFolder.Path()), std::set<std::string>{"version.ini"});
}

// ---------------------------------------------------------------------------------------------
// The component itself
// ---------------------------------------------------------------------------------------------

TEST(DL, ReportsProgressUpToTheWholeFile) {
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    QByteArray big(300 * 1024, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    server.Serve("/big", {200, big, {}, false});
    test::TempDir folder;

    DL dl;
    Recorder rec(dl);
    dl.Download(server.Base() + "/big", QString::fromStdString(folder / "big.bin"), QStringLiteral("b"));
    ASSERT_TRUE(WaitUntil([&] { return !rec.completed.empty(); }));
    EXPECT_EQ(rec.completed[0], std::make_pair(qint64{big.size()}, QStringLiteral("b")));
    EXPECT_EQ(test::ReadFile(folder / "big.bin"), big.toStdString());
    ASSERT_FALSE(rec.progress.empty());
    qint64 last = -1;
    for (const auto& [received, total, id] : rec.progress) {
        EXPECT_EQ(id, QStringLiteral("b"));
        EXPECT_GE(received, last);
        last = received;
    }
    EXPECT_EQ(std::get<0>(rec.progress.back()), big.size());
    EXPECT_EQ(std::get<1>(rec.progress.back()), big.size());
}

TEST(DL, CancelEndsWithZeroBytesAndLeavesNothingBehind) {
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    test::TempDir folder;

    DL dl;
    Recorder rec(dl);
    dl.Download(server.Base() + "/stalls", QString::fromStdString(folder / "out"), QStringLiteral("c"));
    ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
    Settle(100);                                // the server has answered part of the body
    dl.CancelDownload(QStringLiteral("other")); // not ours: nothing happens
    Settle(50);
    EXPECT_TRUE(rec.completed.empty());
    dl.CancelDownload(QStringLiteral("c"));
    ASSERT_TRUE(WaitUntil([&] { return !rec.completed.empty(); }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 1u);
    EXPECT_EQ(rec.completed[0], std::make_pair(qint64{0}, QStringLiteral("c")));
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST(DL, ASecondRequestUnderARunningIdIsDroppedOthersRunSideBySide) {
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Serve("/a", {200, "first", {}, false});
    server.Serve("/b", {200, "second!", {}, false});
    test::TempDir folder;

    DL dl;
    Recorder rec(dl);
    dl.Download(server.Base() + "/a", QString::fromStdString(folder / "a"));
    dl.Download(server.Base() + "/b", QString::fromStdString(folder / "dropped")); // same (empty) id
    dl.Download(server.Base() + "/b", QString::fromStdString(folder / "b"), QStringLiteral("two"));
    ASSERT_TRUE(WaitUntil([&] { return rec.completed.size() >= 2; }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 2u);
    std::set<std::pair<qint64, QString>> got(rec.completed.begin(), rec.completed.end());
    EXPECT_EQ(got, (std::set<std::pair<qint64, QString>>{{5, QString()}, {7, QStringLiteral("two")}}));
    EXPECT_EQ(Names(folder.Path()), (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(test::ReadFile(folder / "a"), "first");

    // Once it has completed, the id is free again.
    dl.Download(server.Base() + "/b", QString::fromStdString(folder / "again"));
    ASSERT_TRUE(WaitUntil([&] { return rec.completed.size() == 3; }));
    EXPECT_EQ(test::ReadFile(folder / "again"), "second!");
}

TEST(DL, FailuresToStartStillCompleteOnce) {
    test::TempDir folder;
    DL dl;
    Recorder rec(dl);
    dl.Download(QStringLiteral("not a url at all"), QString::fromStdString(folder / "x"), QStringLiteral("1"));
    dl.Download(QStringLiteral("gopher://127.0.0.1/x"), QString::fromStdString(folder / "y"), QStringLiteral("2"));
    dl.Download(QStringLiteral("http://127.0.0.1:1/x"), QString::fromStdString(folder / "no/such/folder/z"),
                QStringLiteral("3"));
    ASSERT_TRUE(WaitUntil([&] { return rec.completed.size() >= 3; }));
    Settle();
    ASSERT_EQ(rec.completed.size(), 3u);
    for (const auto& [bytes, id] : rec.completed)
        EXPECT_EQ(bytes, 0) << id.toStdString();
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST(DL, DestroyedWhileDownloadingLeavesNoTemporaryFile) {
    TinyHttpServer server;
    ASSERT_TRUE(server.Listening());
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    test::TempDir folder;
    int completed = 0;
    {
        DL dl;
        QObject::connect(&dl, &DL::Completed, [&completed] { ++completed; });
        dl.Download(server.Base() + "/stalls", QString::fromStdString(folder / "out"));
        ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
        Settle(100);
    }
    Settle();
    EXPECT_EQ(completed, 0);
    EXPECT_TRUE(Names(folder.Path()).empty());
}

} // namespace
} // namespace vaultwing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
