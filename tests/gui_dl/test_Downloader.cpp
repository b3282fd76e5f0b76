// The download component against a small HTTP server on 127.0.0.1 (nothing leaves the machine).
#include "gui/Downloader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gui_dl/TinyHttpServer.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

class DownloadTest : public ::testing::Test {
protected:
    DownloadTest() {
        QObject::connect(&dl, &Downloader::Completed,
                         [this](qint64 bytes, const QString& id) { completed.emplace_back(bytes, id); });
    }
    void SetUp() override { ASSERT_TRUE(server.Listening()); }

    // Waits for `count` completions, then a while longer so that one more would show.
    [[nodiscard]] bool CompletedExactly(std::size_t count) {
        const bool arrived = WaitUntil([&] { return completed.size() >= count; });
        RunEvents();
        return arrived && completed.size() == count;
    }
    [[nodiscard]] QString In(const char* name) const { return QString::fromStdString(folder / name); }

    TinyHttpServer server;
    TempDir folder;
    Downloader dl;
    std::vector<std::pair<qint64, QString>> completed;
};

// Every download completes once; only a whole successful answer reaches the destination, and no
// temporary file is left either way.
TEST_F(DownloadTest, CompletesOnceAndLeavesOnlyAWholeFile) {
    const QByteArray version = "[Einstellungen]\r\nversion=1.5.2\r\n";
    const struct {
        const char* url; // a path on the local server, or a whole address
        Response file;   // what the server answers at /file
        const char* existing;
        const char* destination;
        bool arrives; // the body is moved to the destination
    } cases[] = {{"/file", {200, version, {}, false}, nullptr, "version.ini", true},
                 {"/moved", {200, version, {}, false}, nullptr, "version.ini", true},
                 {"/file", {200, QByteArray(64 << 10, 'b'), {}, false}, nullptr, "b", true},
                 {"/file", {200, QByteArray((64 << 10) + 1, 'b'), {}, false}, nullptr, "b", false},
                 {"/file", {404, version, {}, false}, nullptr, "version.ini", false},
                 {"/file", {300, version, {}, false}, nullptr, "version.ini", false},
                 {"/file", {200, "", {}, false}, nullptr, "version.ini", false},
                 {"/file", {200, version, {}, false}, "old", "version.ini", false},
                 {"http://127.0.0.1:1/x", {}, nullptr, "version.ini", false},
                 {"not a url at all", {}, nullptr, "x", false},
                 {"/file", {200, version, {}, false}, nullptr, "no/such/z", false}};
    server.Serve("/moved", {302, {}, server.Url("/file").toUtf8(), false});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.url) + " " + std::to_string(c.file.status) + " -> " + c.destination);
        completed.clear();
        server.Serve("/file", c.file);
        const std::string destination = folder / c.destination;
        if (c.existing != nullptr) WriteFile(destination, c.existing);
        dl.Download(c.url[0] == '/' ? server.Url(c.url) : QString::fromLatin1(c.url), In(c.destination), "id");
        ASSERT_TRUE(CompletedExactly(1));
        const qint64 size = c.file.body.size();
        EXPECT_EQ(completed[0], std::make_pair(c.arrives ? size : 0, QStringLiteral("id")));
        const std::string expected = c.existing != nullptr ? c.existing : c.arrives ? c.file.body.toStdString() : "";
        EXPECT_EQ(ReadFile(destination), expected);
        EXPECT_EQ(Names(folder.Path()),
                  expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.destination});
        std::filesystem::remove_all(folder.Path() / c.destination);
    }
    for (const QByteArray& request : server.requests) // fresh from the server: no cache may answer
        EXPECT_TRUE(request.contains("Cache-Control: no-cache"));
}

// Cancel ends only its own download, with 0 bytes; a component destroyed while downloading ends
// quietly. Neither leaves a file behind.
TEST_F(DownloadTest, CancelledOrDestroyedDownloadsLeaveNothing) {
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    dl.Download(server.Url("/stalls"), In("out"), "c");
    {
        Downloader other;
        QObject::connect(&other, &Downloader::Completed, [] { ADD_FAILURE() << "completed after its end"; });
        other.Download(server.Url("/stalls"), In("other"));
        ASSERT_TRUE(WaitUntil([&] { return server.requests.size() == 2; }));
        RunEvents(100); // the server has answered part of both bodies
        dl.CancelDownload("other");
        RunEvents(50);
        EXPECT_TRUE(completed.empty());
    }
    dl.CancelDownload("c");
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0], std::make_pair(qint64{0}, QStringLiteral("c")));
    EXPECT_TRUE(Names(folder.Path()).empty());
}

} // namespace
} // namespace vaultwing::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
