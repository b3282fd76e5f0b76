// The download component against a small HTTP server on 127.0.0.1 (nothing leaves the machine).
#include "gui/Downloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

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
    [[nodiscard]] std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    TinyHttpServer server;
    TempDir folder;
    Downloader dl;
    std::vector<std::pair<qint64, QString>> completed;
};

struct OutcomeCase {
    const char* name;
    const char* url; // a path on the local server, or a whole address
    Response file;   // what the server answers at /file
    const char* existing;
    const char* destination;
    bool arrives; // the body is moved to the destination
};

void PrintTo(const OutcomeCase& c, std::ostream* os) {
    *os << c.name;
}

class DownloadOutcome : public DownloadTest, public ::testing::WithParamInterface<OutcomeCase> {};

// Every download completes once; only a whole successful answer reaches the destination, and no
// temporary file is left either way.
TEST_P(DownloadOutcome, CompletesOnceAndLeavesOnlyAWholeFile) {
    const OutcomeCase& c = GetParam();
    server.Serve("/file", c.file);
    server.Serve("/moved", {302, {}, server.Url("/file").toUtf8(), false});
    const std::string destination = folder / c.destination;
    if (c.existing != nullptr) WriteFile(destination, c.existing);
    dl.Download(c.url[0] == '/' ? server.Url(c.url) : QString::fromLatin1(c.url), In(c.destination), "id");
    ASSERT_TRUE(CompletedExactly(1));
    const qint64 size = c.file.body.size();
    EXPECT_EQ(completed[0], std::make_pair(c.arrives ? size : 0, QStringLiteral("id")));
    const std::string expected = c.existing != nullptr ? c.existing : c.arrives ? c.file.body.toStdString() : "";
    EXPECT_EQ(ReadFile(destination), expected);
    EXPECT_EQ(Names(), expected.empty() ? std::set<std::string>{} : std::set<std::string>{c.destination});
    for (const QByteArray& request : server.requests) // fresh from the server: no cache may answer
        EXPECT_TRUE(request.contains("Cache-Control: no-cache"));
}

const QByteArray kVersion = "[Einstellungen]\r\nversion=1.5.2\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, DownloadOutcome,
    ::testing::Values(OutcomeCase{"Direct", "/file", {200, kVersion, {}, false}, nullptr, "version.ini", true},
                      OutcomeCase{"Redirected", "/moved", {200, kVersion, {}, false}, nullptr, "version.ini", true},
                      OutcomeCase{"Large", "/file", {200, QByteArray(300 << 10, 'b'), {}, false}, nullptr, "b", true},
                      OutcomeCase{"NotFound", "/file", {404, kVersion, {}, false}, nullptr, "version.ini", false},
                      OutcomeCase{"Status300", "/file", {300, kVersion, {}, false}, nullptr, "version.ini", false},
                      OutcomeCase{"EmptyBody", "/file", {200, "", {}, false}, nullptr, "version.ini", false},
                      OutcomeCase{"ExistingFileKept", "/file", {200, kVersion, {}, false}, "old", "version.ini", false},
                      OutcomeCase{"Refused", "http://127.0.0.1:1/x", {}, nullptr, "version.ini", false},
                      OutcomeCase{"NotAnAddress", "not a url at all", {}, nullptr, "x", false},
                      OutcomeCase{"NoSuchFolder", "/file", {200, kVersion, {}, false}, nullptr, "no/such/z", false}),
    [](const auto& param) { return std::string(param.param.name); });

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
    EXPECT_TRUE(Names().empty());
}

TEST_F(DownloadTest, ASecondRequestUnderARunningIdIsDroppedOthersRunSideBySide) {
    server.Serve("/a", {200, "first", {}, false});
    server.Serve("/b", {200, "second!", {}, false});
    dl.Download(server.Url("/a"), In("a"));
    dl.Download(server.Url("/b"), In("dropped")); // same (empty) id
    dl.Download(server.Url("/b"), In("b"), "two");
    ASSERT_TRUE(CompletedExactly(2));
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
}

} // namespace
} // namespace vaultwing::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
