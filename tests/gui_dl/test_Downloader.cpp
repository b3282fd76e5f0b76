// The download component against a small HTTP server on 127.0.0.1 (nothing leaves the machine).
#include "gui/Downloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "gui_dl/TinyHttpServer.h"
#include "support/TempDir.h"

namespace vaultwing::test {
namespace {

namespace fs = std::filesystem;

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
        for (const auto& e : fs::directory_iterator(folder.Path()))
            names.insert(e.path().filename().string());
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
    std::pair<qint64, qint64> progress;
    QObject::connect(&dl, &Downloader::Progress, [&](qint64 got, qint64 total, const QString&) { progress = {got, total}; });
    dl.Download(c.url[0] == '/' ? server.Url(c.url) : QString::fromLatin1(c.url), In(c.destination),
                QStringLiteral("id"));
    ASSERT_TRUE(CompletedExactly(1));
    const qint64 size = c.file.body.size();
    EXPECT_EQ(completed[0], std::make_pair(c.arrives ? size : 0, QStringLiteral("id")));
    const std::string expected = c.existing != nullptr ? c.existing : c.arrives ? c.file.body.toStdString() : "";
    EXPECT_EQ(fs::exists(destination) ? ReadFile(destination) : "", expected);
    EXPECT_EQ(Names(), expected.empty() ? std::set<std::string>{} : std::set<std::string>{c.destination});
    if (c.arrives) {
        EXPECT_EQ(progress, std::make_pair(size, size));
    }
    // Fresh from the server every time: a cache must not answer.
    for (const auto& request : server.requests)
        EXPECT_TRUE(request.second.contains("Cache-Control: no-cache"));
}

const QByteArray kVersion = "[Einstellungen]\r\nversion=1.5.2\r\n";

INSTANTIATE_TEST_SUITE_P(
    Table, DownloadOutcome,
    ::testing::Values(OutcomeCase{"Direct", "/file", {200, kVersion, {}, false}, nullptr, "version.ini", true},
                      OutcomeCase{"Redirected", "/moved", {200, kVersion, {}, false}, nullptr, "version.ini", true},
                      OutcomeCase{"Large", "/file", {200, QByteArray(300 << 10, 'b'), {}, false}, nullptr, "b", true},
                      OutcomeCase{"NotFound", "/file", {404, kVersion, {}, false}, nullptr, "version.ini", false},
                      OutcomeCase{"EmptyBody", "/file", {200, "", {}, false}, nullptr, "version.ini", false},
                      OutcomeCase{"ExistingFileKept", "/file", {200, kVersion, {}, false}, "old", "version.ini", false},
                      OutcomeCase{"Refused", "http://127.0.0.1:1/x", {}, nullptr, "version.ini", false},
                      OutcomeCase{"NotAnAddress", "not a url at all", {}, nullptr, "x", false},
                      OutcomeCase{"NoSuchFolder", "/file", {200, kVersion, {}, false}, nullptr, "no/such/z", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(DownloadTest, CancelEndsWithZeroBytesAndLeavesNothingBehind) {
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    dl.Download(server.Url("/stalls"), In("out"), QStringLiteral("c"));
    ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
    RunEvents(100);                             // the server has answered part of the body
    dl.CancelDownload(QStringLiteral("other")); // not ours: nothing happens
    RunEvents(50);
    EXPECT_TRUE(completed.empty());
    dl.CancelDownload(QStringLiteral("c"));
    ASSERT_TRUE(CompletedExactly(1));
    EXPECT_EQ(completed[0], std::make_pair(qint64{0}, QStringLiteral("c")));
    EXPECT_TRUE(Names().empty());
}

TEST_F(DownloadTest, ASecondRequestUnderARunningIdIsDroppedOthersRunSideBySide) {
    server.Serve("/a", {200, "first", {}, false});
    server.Serve("/b", {200, "second!", {}, false});
    dl.Download(server.Url("/a"), In("a"));
    dl.Download(server.Url("/b"), In("dropped")); // same (empty) id
    dl.Download(server.Url("/b"), In("b"), QStringLiteral("two"));
    ASSERT_TRUE(CompletedExactly(2));
    std::set<std::pair<qint64, QString>> got(completed.begin(), completed.end());
    EXPECT_EQ(got, (std::set<std::pair<qint64, QString>>{{5, QString()}, {7, QStringLiteral("two")}}));
    EXPECT_EQ(Names(), (std::set<std::string>{"a", "b"}));
    dl.Download(server.Url("/b"), In("again")); // once it has completed, the id is free again
    ASSERT_TRUE(CompletedExactly(3));
}

TEST_F(DownloadTest, DestroyedWhileDownloadingLeavesNoTemporaryFile) {
    server.Serve("/stalls", {200, QByteArray(100, 'x'), {}, true});
    {
        Downloader other;
        QObject::connect(&other, &Downloader::Completed, [] { ADD_FAILURE() << "completed after its end"; });
        other.Download(server.Url("/stalls"), In("out"));
        ASSERT_TRUE(WaitUntil([&] { return !server.requests.empty(); }));
        RunEvents(100);
    }
    RunEvents();
    EXPECT_TRUE(Names().empty());
}

} // namespace
} // namespace vaultwing::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
