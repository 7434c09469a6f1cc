#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

TEST(QuarvelCli, SplitThenJoinFromAnyPart) {
    TempFolder folder;
    const auto source = FileBytes::pattern(2'500'000, 5);
    FileBytes::write(folder.file("Live Set.mp3"), source);
    const CliRun split = CliRun::run({"split", folder.file("Live Set.mp3"), "--size", "0.4 MB", "--crypt-data",
                                      "--key", "s3cret", "--page", "--app-dir", folder.path()});
    ASSERT_EQ(split.exitCode, 0) << split.err;
    EXPECT_NE(split.err.find("Part 6 created\nReady, 7 files created"), std::string::npos) << split.err;
    EXPECT_TRUE(FileBytes::exists(folder.file("live_set.html")));

    std::filesystem::create_directory(folder.file("out"));
    const CliRun join = CliRun::run({"join", folder.file("live_set04.ppt"), "--key", "s3cret", "--out",
                                     folder.file("out"), "--delete"});
    ASSERT_EQ(join.exitCode, 0) << join.err;
    EXPECT_EQ(join.out, folder.file("out/Live Set.mp3") + "\n");
    EXPECT_EQ(FileBytes::read(folder.file("out/Live Set.mp3")), source);
    EXPECT_FALSE(FileBytes::exists(folder.file("live_set00.ppt")));

    const CliRun info = CliRun::run({"info", folder.file("live_set.html")});
    EXPECT_EQ(info.exitCode, 1);
}

TEST(QuarvelCli, InfoShowsAPartsHeader) {
    TempFolder folder;
    FileBytes::write(folder.file("a.bin"), FileBytes::pattern(1500));
    ASSERT_EQ(CliRun::run({"split", folder.file("a.bin"), "--bytes", "1000", "--key", "k"}).exitCode, 0);
    const CliRun right = CliRun::run({"info", folder.file("a01.ppt"), "--key", "k"});
    EXPECT_EQ(right.exitCode, 0);
    EXPECT_EQ(right.out, "Type: GPN\nFlags: 13\nPart: 1\nCount: 2\nName: a.bin\nData length: 678\nChecksum: ok\n");
}

TEST(QuarvelCli, FailuresGiveTheirTextAndExitStatus) {
    TempFolder folder;
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{"split", folder.file("missing.bin")}, 1, "Input file couldn't be opened\nNo such file or directory"},
        {{"split", folder.file("missing.bin"), "--bytes", "178"}, 1, "Input file couldn't be opened"},
        {{"split", "x", "--bogus"}, 2, "unknown option --bogus"},
        {{"split", "x", "--key", "eleven-char"}, 2, "--key takes at most 10 characters"},
        {{"split", "x", "--size", "1 MB", "--bytes", "5"}, 2, "usage: quarvel-cli split"},
        {{"join", folder.file("none.ppt")}, 1, "Split-Datei konnte nicht geöffnet werden"},
        {{"join"}, 2, "usage: quarvel-cli join"},
        {{"frobnicate"}, 2, "unknown command"},
    };
    for (const Case& c : cases) {
        const CliRun run = CliRun::run(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.front() << ": " << run.err;
        EXPECT_NE(run.err.find(c.text), std::string::npos) << run.err;
    }
    for (const char* command : {"split", "join", "info"}) {
        const CliRun help = CliRun::run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.out.rfind(std::string("usage: quarvel-cli ") + command, 0), 0u);
    }
}

TEST(QuarvelCli, VersionComesFromTheProjectsVersion) {
    for (const char* option : {"--version", "-v"}) {
        const CliRun run = CliRun::run({option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_EQ(run.out, "quarvel-cli " QUARVEL_VERSION "\n") << option;
    }
}

TEST(QuarvelCli, RefusedSplitSizes) {
    TempFolder folder;
    FileBytes::write(folder.file("a.bin"), FileBytes::pattern(1500));
    for (const char* bytes : {"178", "1", "-5"}) {
        const CliRun run = CliRun::run({"split", folder.file("a.bin"), "--bytes", bytes});
        EXPECT_NE(run.exitCode, 0) << bytes;
        EXPECT_FALSE(FileBytes::exists(folder.file("a00.ppt"))) << bytes;
    }
}

// A FIFO, given where a file is expected, would block the open until a writer came.
TEST(QuarvelCli, SpecialFilesAreRefusedAtOnce) {
    TempFolder folder;
    const std::string fifo = folder.file("pipe00.ppt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::vector<std::string> command;
        const char* says;
    } cases[] = {{{"info", fifo}, "Not a regular file"},
                 {{"join", fifo}, "Not a regular file"},
                 {{"split", fifo}, "Not a regular file"},
                 {{"tag", fifo, "--title", "x"}, "the input cannot be opened"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.front());
        const CliRun run = CliRun::run(c.command, std::chrono::seconds(60));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

TEST(QuarvelCli, VerifyPrintsALinePerPartAndASummary) {
    TempFolder folder;
    FileBytes::write(folder.file("My Song.mp3"), FileBytes::pattern(2500, 3));
    ASSERT_EQ(CliRun::run({"split", folder.file("My Song.mp3"), "--bytes", "1000", "--crypt-data", "--key", "k"}).exitCode, 0);
    const CliRun sound = CliRun::run({"verify", folder.file("my_song02.ppt"), "--key", "k"});
    EXPECT_EQ(sound.exitCode, 0) << sound.err;
    EXPECT_EQ(sound.out, "my_song00.ppt: OK\nmy_song01.ppt: OK\nmy_song02.ppt: OK\nmy_song03.ppt: OK\n"
                         "set of 4 parts for My Song.mp3: complete and sound\n");

    std::filesystem::remove(folder.file("my_song01.ppt"));
    auto bytes = FileBytes::read(folder.file("my_song03.ppt"));
    bytes[170] ^= 1;
    FileBytes::write(folder.file("my_song03.ppt"), bytes);
    const CliRun faulty = CliRun::run({"verify", folder.file("my_song00.ppt"), "--key", "k"});
    EXPECT_EQ(faulty.exitCode, 1);
    EXPECT_EQ(faulty.out, "my_song00.ppt: OK\nmy_song01.ppt: missing\nmy_song02.ppt: OK\n"
                          "my_song03.ppt: damaged (checksum does not match: damaged, or a wrong key)\n"
                          "set of 4 parts for My Song.mp3: 2 OK, 1 missing, 1 damaged\n");

    const CliRun none = CliRun::run({"verify", folder.file("none.ppt")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "none.ppt: missing\nno set to check\n");
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"verify"}, {"verify", "a", "b"}, {"verify", "a", "--key", "eleven-char"}, {"verify", "a", "--out", "x"}})
        EXPECT_EQ(CliRun::run(wrong).exitCode, 2) << wrong.size();
    const CliRun help = CliRun::run({"verify", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: quarvel-cli verify PART [--key KEY]", 0), 0u);
}
