// The download component and the live-update check it starts, against a small HTTP server that
// the tests run on 127.0.0.1 (nothing leaves the machine).
#include "gui/Downloader.h"

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
#include "support/IndexTexts.h"
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

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

const LangTable& Texts() { return test::IndexTexts(); }

const Message kFailed{"T708", "T418", MsgIcon::Exclamation, MsgButtons::Ok};

// The server answers the version file's real address: the click counter redirects to the file.
void ServeVersionFile(TinyHttpServer& server, const QByteArray& body, int status = 200) {
    const QByteArray fileTarget = "/vwx/version/version.ini";
    const QByteArray counter = QByteArray::fromStdString(VersionFileAddress(server.HostAndPort().toStdString()));
    const QByteArray counterTarget = counter.mid(counter.indexOf('/', 7)); // after "http://host:port"
    server.Serve(counterTarget, {302, {}, server.Base().toUtf8() + fileTarget, false});
    server.Serve(fileTarget, {status, body, {}, false});
}

// A local server, a folder to download into and one download component whose signals are recorded.
class DownloadTest : public ::testing::Test {
protected:
    DownloadTest() {
        QObject::connect(&dl, &Downloader::Completed,
                         [this](qint64 bytes, const QString& id) { completed.emplace_back(bytes, id); });
        QObject::connect(&dl, &Downloader::Progress, [this](qint64 received, qint64 total, const QString& id) {
            progress.emplace_back(received, total, id);
        });
    }
    void SetUp() override { ASSERT_TRUE(server.Listening()); }

    // Waits for `count` completions, then a while longer so that one more would show.
    [[nodiscard]] bool CompletedExactly(std::size_t count) {
        const bool arrived = WaitUntil([&] { return completed.size() >= count; });
        Settle();
        return arrived && completed.size() == count;
    }
    void GetVersionFile(const std::string& destination) {
        dl.Download(QString::fromStdString(VersionFileAddress(server.HostAndPort().toStdString())),
                    QString::fromStdString(destination));
    }
    [[nodiscard]] QString Url(const char* target) const { return server.Base() + target; }
    [[nodiscard]] QString In(const char* name) const { return QString::fromStdString(folder / name); }

    TinyHttpServer server;
    test::TempDir folder;
    Downloader dl;
    std::vector<std::pair<qint64, QString>> completed;
    std::vector<std::tuple<qint64, qint64, QString>> progress;
};

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

class LiveUpdateThroughDL : public DownloadTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(LiveUpdateThroughDL, DownloadsDecidesAndLeavesNoVersionFile) {
    const auto& c = GetParam();
    ServeVersionFile(server, c.body, c.status);
    const std::string versionFile = folder / "version.ini";
    GetVersionFile(versionFile);
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0].second, QString());
    const bool ok = c.status == 200 && c.body[0] != '\0';
    EXPECT_EQ(completed[0].first, ok ? static_cast<qint64>(std::strlen(c.body)) : 0);
    EXPECT_EQ(fs::exists(versionFile), ok);

    const auto outcome = CheckDownloadedVersion(completed[0].first, folder.Str(), Texts());
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->message, c.expected);
    EXPECT_TRUE(Names(folder.Path()).empty()); // neither version.ini nor a temporary file

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
                      CheckCase{"NotFound", 404, "[Einstellungen]\r\nversion=1.5.2\r\n", kFailed},
                      CheckCase{"ServerError", 500, "oops", kFailed}, CheckCase{"EmptyFile", 200, "", kFailed}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(DownloadTest, ConnectionRefusedIsAFailedLiveUpdate) {
    quint16 port = 0;
    {
        QTcpServer probe; // a port that was free a moment ago and is closed now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    dl.Download(QStringLiteral("http://127.0.0.1:%1/vwx/version/version.ini").arg(port), In("version.ini"),
                QStringLiteral("live"));
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0], std::make_pair(qint64{0}, QStringLiteral("live")));
    EXPECT_EQ(CheckDownloadedVersion(0, folder.Str(), Texts())->message, kFailed);
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST_F(DownloadTest, AnExistingVersionFileIsNeitherReplacedNorRead) {
    ServeVersionFile(server, "[Einstellungen]\r\nversion=1.5.2\r\n");
    const std::string versionFile = folder / "version.ini";
    test::WriteFile(versionFile, "[Einstellungen]\r\nversion=9.9.9\r\n");
    GetVersionFile(versionFile);
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0].first, 0); // the move failed: nothing arrived where it was asked for
    EXPECT_EQ(CheckDownloadedVersion(completed[0].first, folder.Str(), Texts())->message, kFailed);
    EXPECT_EQ(test::ReadFile(versionFile), "[Einstellungen]\r\nversion=9.9.9\r\n");
    EXPECT_EQ(Names(folder.Path()), std::set<std::string>{"version.ini"});
}

// ---------------------------------------------------------------------------------------------
// The component itself
// ---------------------------------------------------------------------------------------------

TEST_F(DownloadTest, ReportsProgressUpToTheWholeFile) {
    QByteArray big(300 * 1024, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    server.Serve("/big", {200, big, {}, false});
    dl.Download(Url("/big"), In("big.bin"), QStringLiteral("b"));
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0], std::make_pair(qint64{big.size()}, QStringLiteral("b")));
    EXPECT_EQ(test::ReadFile(folder / "big.bin"), big.toStdString());
    ASSERT_FALSE(progress.empty());
    qint64 last = -1;
    for (const auto& [received, total, id] : progress) {
        EXPECT_EQ(id, QStringLiteral("b"));
        EXPECT_GE(received, last);
        last = received;
    }
    EXPECT_EQ(std::get<0>(progress.back()), big.size());
    EXPECT_EQ(std::get<1>(progress.back()), big.size());
}

TEST_F(DownloadTest, CancelEndsWithZeroBytesAndLeavesNothingBehind) {
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    dl.Download(Url("/stalls"), In("out"), QStringLiteral("c"));
    ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
    Settle(100);                                // the server has answered part of the body
    dl.CancelDownload(QStringLiteral("other")); // not ours: nothing happens
    Settle(50);
    EXPECT_TRUE(completed.empty());
    dl.CancelDownload(QStringLiteral("c"));
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0], std::make_pair(qint64{0}, QStringLiteral("c")));
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST_F(DownloadTest, ASecondRequestUnderARunningIdIsDroppedOthersRunSideBySide) {
    server.Serve("/a", {200, "first", {}, false});
    server.Serve("/b", {200, "second!", {}, false});
    dl.Download(Url("/a"), In("a"));
    dl.Download(Url("/b"), In("dropped")); // same (empty) id
    dl.Download(Url("/b"), In("b"), QStringLiteral("two"));
    ASSERT_TRUE(CompletedExactly(2));
    std::set<std::pair<qint64, QString>> got(completed.begin(), completed.end());
    EXPECT_EQ(got, (std::set<std::pair<qint64, QString>>{{5, QString()}, {7, QStringLiteral("two")}}));
    EXPECT_EQ(Names(folder.Path()), (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(test::ReadFile(folder / "a"), "first");

    // Once it has completed, the id is free again.
    dl.Download(Url("/b"), In("again"));
    ASSERT_TRUE(CompletedExactly(3));
    EXPECT_EQ(test::ReadFile(folder / "again"), "second!");
}

TEST_F(DownloadTest, FailuresToStartStillCompleteOnce) {
    dl.Download(QStringLiteral("not a url at all"), In("x"), QStringLiteral("1"));
    dl.Download(QStringLiteral("gopher://127.0.0.1/x"), In("y"), QStringLiteral("2"));
    dl.Download(QStringLiteral("http://127.0.0.1:1/x"), In("no/such/folder/z"), QStringLiteral("3"));
    ASSERT_TRUE(CompletedExactly(3));
    for (const auto& [bytes, id] : completed)
        EXPECT_EQ(bytes, 0) << id.toStdString();
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST_F(DownloadTest, DestroyedWhileDownloadingLeavesNoTemporaryFile) {
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    int completions = 0;
    {
        Downloader other;
        QObject::connect(&other, &Downloader::Completed, [&completions] { ++completions; });
        other.Download(Url("/stalls"), In("out"));
        ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
        Settle(100);
    }
    Settle();
    EXPECT_EQ(completions, 0);
    EXPECT_TRUE(Names(folder.Path()).empty());
}

} // namespace
} // namespace vaultwing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
