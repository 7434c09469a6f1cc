#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "transfer/SetServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <algorithm>

namespace {

// A failsafe, not a timing check: a join that hangs is killed and fails its test.
constexpr std::chrono::seconds kLimit{120};

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A set of seven enciphered parts and its page in "site", as the splitter writes them, and an
// empty "out" folder to join into. Seven parts: more than are fetched at once.
class WebJoin : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder_.file("site"));
        std::filesystem::create_directory(folder_.file("out"));
        FileBytes::write(folder_.file("Live Set.mp3"), source_);
        const CliRun split = CliRun::run({"split", folder_.file("Live Set.mp3"), "--bytes", "200000", "--crypt-data",
                                          "--key", "s3cret", "--page", "--out", folder_.file("site"),
                                          "--app-dir", folder_.path()});
        ASSERT_EQ(split.exitCode, 0) << split.err;
        ASSERT_TRUE(FileBytes::exists(site("live_set06.ppt")));
    }

    std::string site(const std::string& name) const { return folder_.file("site/" + name); }
    std::string out() const { return folder_.file("out"); }

    CliRun join(const std::string& address, std::vector<std::string> more = {}) const {
        std::vector<std::string> arguments{"join", address, "--key", "s3cret", "--out", out()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return CliRun::run(arguments, kLimit);
    }

    void expectRebuilt(const CliRun& run) const {
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, out() + "/Live Set.mp3\n");
        EXPECT_EQ(FileBytes::read(out() + "/Live Set.mp3"), source_);
        EXPECT_EQ(entries(out()), std::vector<std::string>{"Live Set.mp3"});
    }

    TempFolder folder_;
    const std::vector<std::uint8_t> source_ = FileBytes::pattern(1'300'000, 7);
};

TEST_F(WebJoin, RebuildsTheSourceFromAnyPartOrThePage) {
    SetServer server("http", folder_.file("site"));
    for (const std::string name : {"live_set00.ppt", "live_set04.ppt", "live_set.html"}) {
        SCOPED_TRACE(name);
        expectRebuilt(join(server.url(name)));
        std::filesystem::remove(out() + "/Live Set.mp3");
    }
}

TEST_F(WebJoin, OverFtp) {
    SetServer server("ftp", folder_.file("site"));
    if (!server.skipReason().empty()) GTEST_SKIP() << server.skipReason();
    expectRebuilt(join(server.url("live_set02.ppt")));
}

// A connection that breaks off, or goes quiet, in the middle of a part: the part goes on from
// where it stopped with a range request instead of starting again. A server that ignores the
// range sends the whole part again, and the half already fetched must not stay in front of it.
TEST_F(WebJoin, ResumesABrokenOrSilentDownload) {
    struct Case {
        std::vector<std::string> trouble;
        int requestsOfPart; // GETs of the troubled part, each asking for the rest of it
    };
    const std::vector<Case> cases{
        {{"--cut-once", "live_set03.ppt"}, 2},
        {{"--stall-once", "live_set03.ppt"}, 2},
        {{"--cut-once", "live_set03.ppt", "--no-ranges", "yes"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trouble.size() > 2 ? "no ranges" : c.trouble.front());
        const std::string log = folder_.file("requests.log");
        std::filesystem::remove(log);
        std::vector<std::string> options = c.trouble;
        options.insert(options.end(), {"--log", log});
        SetServer server("http", folder_.file("site"), options);
        expectRebuilt(join(server.url("live_set00.ppt"), {"--timeout", "1"}));
        const std::string requests = FileBytes::readText(log);
        EXPECT_NE(requests.find("GET /live_set03.ppt bytes=99992-"), std::string::npos) << requests;
        int gets = 0;
        for (auto at = requests.find("GET /live_set03.ppt "); at != std::string::npos;
             at = requests.find("GET /live_set03.ppt ", at + 1))
            ++gets;
        EXPECT_EQ(gets, c.requestsOfPart) << requests;
        std::filesystem::remove(out() + "/Live Set.mp3");
    }
}

// A remote set with a fault in part 03: the join names the part, fails and leaves nothing behind,
// neither the output nor any hidden file.
TEST_F(WebJoin, RefusesAFaultyRemotePartAndLeavesNothing) {
    const std::string part = site("live_set03.ppt");
    struct Case {
        const char* fault;
        std::function<void()> make;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"one flipped data byte",
         [&] {
             auto bytes = FileBytes::read(part);
             bytes[5000] ^= 0x01;
             FileBytes::write(part, bytes);
         },
         "Checksum error: "},
        {"missing", [&] { std::filesystem::remove(part); }, "doesn't exist"},
        {"a part of another set",
         [&] {
             FileBytes::write(folder_.file("Other.mp3"), FileBytes::pattern(1'300'000, 8));
             ASSERT_EQ(CliRun::run({"split", folder_.file("Other.mp3"), "--bytes", "200000", "--crypt-data", "--key",
                                    "s3cret", "--out", folder_.file("other")})
                           .exitCode,
                       0);
             std::filesystem::copy_file(folder_.file("other/other03.ppt"), part,
                                        std::filesystem::copy_options::overwrite_existing);
         },
         "does not belong to the set"},
    };
    const auto original = FileBytes::read(part);
    std::filesystem::create_directory(folder_.file("other"));
    SetServer server("http", folder_.file("site"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        FileBytes::write(part, original);
        c.make();
        const CliRun run = join(server.url("live_set.html"));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(server.url("live_set03.ppt")), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_TRUE(entries(out()).empty());
    }
}

// A server that streams without end fills no disk: a part is fetched no further than its header
// announces (what follows a part is ignored, as in a local join), what is no part no further than
// a part's head, and a first address that is no part no further than the longest page.
TEST_F(WebJoin, StopsAnEndlessDownloadAtWhatItCanUse) {
    struct Case {
        std::string endless; // sends its file, then zeros without end
        bool emptied;        // the file is emptied first, so that nothing but zeros comes
        std::string address;
        const char* expected; // empty: the set is rebuilt
    };
    const std::vector<Case> cases{
        {"live_set03.ppt", false, "live_set00.ppt", ""},
        {"live_set03.ppt", true, "live_set00.ppt", "live_set03.ppt has wrong structure"},
        {"live_set00.ppt", true, "live_set00.ppt", "Not a part file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endless + (c.emptied ? " emptied" : ""));
        const std::string part = site(c.endless);
        const auto original = FileBytes::read(part);
        if (c.emptied) FileBytes::write(part, {});
        SetServer server("http", folder_.file("site"), {"--endless", c.endless});
        const CliRun run = join(server.url(c.address));
        FileBytes::write(part, original);
        if (std::string(c.expected).empty()) {
            expectRebuilt(run);
            std::filesystem::remove(out() + "/Live Set.mp3");
            continue;
        }
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_TRUE(entries(out()).empty());
    }
}

TEST_F(WebJoin, UnreachableServerOrNoSetFails) {
    SetServer server("http", folder_.file("site"));
    FileBytes::writeText(site("notes.txt"), "no part, no page");
    struct Case {
        std::string address;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"http://127.0.0.1:1/live_set00.ppt", "Can't open input file: http://127.0.0.1:1/live_set00.ppt"},
        {server.url("notes.txt"), "Not a part file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const CliRun run = join(c.address);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_TRUE(entries(out()).empty());
    }
}

} // namespace
