#include "converter/ProgramLookup.h"
#include "support/TagBytes.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

std::size_t v2Length(const Bytes& file) {
    if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return 0;
    return 10 + ((file[6] << 21) | (file[7] << 14) | (file[8] << 7) | file[9]);
}

bool hasV1(const Bytes& file) {
    return file.size() >= 128 && file[file.size() - 128] == 'T' && file[file.size() - 127] == 'A' && file[file.size() - 126] == 'G';
}

// The bytes between the tags: they must come through any tag write unchanged.
Bytes audioOf(const Bytes& file) {
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(v2Length(file)), file.end() - (hasV1(file) ? 128 : 0));
}

// The lines of an strace log that open the file at path.
int opensOf(const std::string& log, const std::string& path) {
    std::istringstream lines(FileBytes::readText(log));
    int opens = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.find("open") != std::string::npos && line.find('"' + path + '"') != std::string::npos) ++opens;
    return opens;
}

class Mp3CliTest : public ::testing::Test {
protected:
    std::string copy(const std::string& fixture) {
        const std::string path = folder.file(fixture);
        std::filesystem::copy_file(std::string(QUARVEL_FIXTURES "/mpeg/") + fixture, path);
        return path;
    }
    TempFolder folder;
};

TEST_F(Mp3CliTest, InfoShowsTheAnalyserLinesAndTheTags) {
    const CliRun run = CliRun::run({"info", copy("cbr128.mp3")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {"cbr128.mp3\nTrack Info\n", "  Title: Tone\n", "  Genre: Rock\n  Track: 3\nMPEG Info\n",
                             "  Level: MPEG 1\n  Layer: 3\n  Bitrate: 128000 bps\n  Frequency: 44100 Hz\n",
                             "  Mode: joint-stereo\n  Channels: 2 (Stereo)\n  Frames: 40\n  Duration: 00:01.45 \n",
                             "  Bitrate constant: Yes\n", "Tags: ID3v1 and ID3v2\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;

    const std::string text = folder.file("notes.txt");
    FileBytes::writeText(text, "no audio here");
    const CliRun other = CliRun::run({"info", text});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_NE(other.err.find("Keine Datei zu decodieren"), std::string::npos);
}

// The part check reads the file's head; the analysis walks the stream and reads the tags through
// one more open of the file, whichever tags it carries.
TEST_F(Mp3CliTest, InfoOpensTheFileAtMostTwice) {
    const std::string strace = ProgramLookup::find("strace", "");
    if (strace.empty()) GTEST_SKIP() << "strace is not installed (scripts/deps.sh installs it)";
    const char* cli = std::getenv("QUARVEL_CLI");
    ASSERT_NE(cli, nullptr);
    for (const char* fixture : {"cbr128.mp3", "mono64.mp3"}) {
        const std::string path = copy(fixture);
        const std::string log = folder.file(std::string(fixture) + ".opens");
        const CliRun run = CliRun::runProgram(strace, {"-f", "-e", "trace=open,openat", "-o", log, cli, "info", path});
        if (run.exitCode != 0 && run.err.find("ptrace") != std::string::npos)
            GTEST_SKIP() << "strace cannot trace here: " << run.err;
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("MPEG Info\n"), std::string::npos) << run.out;
        const int opens = opensOf(log, path);
        EXPECT_GE(opens, 1) << fixture; // the log names the file: the count means something
        EXPECT_LE(opens, 2) << fixture << "\n" << FileBytes::readText(log);
    }
}

// Several files at once: an MP3 whose title needs escaping in JSON, a part, and a missing file
// whose name holds a quote and a line end. The JSON is read by Python's own parser.
TEST_F(Mp3CliTest, InfoOnSeveralFilesAsTextAndAsJson) {
    const std::string mp3 = copy("cbr128.mp3");
    const std::string title = "Say \"hi\"\\ \xE2\x99\xAB\x01";
    ASSERT_EQ(CliRun::run({"tag", mp3, "--title", title}).exitCode, 0);
    FileBytes::write(folder.file("a.bin"), FileBytes::pattern(1500));
    ASSERT_EQ(CliRun::run({"split", folder.file("a.bin"), "--bytes", "1000"}).exitCode, 0);
    const std::string part = folder.file("a01.ppt");
    const std::string missing = folder.file("gone \"x\"\n.mp3");

    const CliRun text = CliRun::run({"info", mp3, part, missing});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.out.find("  Channels constant: Yes\nTags: ID3v1 and ID3v2\n\na01.ppt\nType: GN\n"), std::string::npos) << text.out;
    EXPECT_NE(text.err.find(missing + ": No such file or directory"), std::string::npos) << text.err;

    const std::string python = ProgramLookup::find("python3", "");
    if (python.empty()) GTEST_SKIP() << "python3 is not installed (scripts/deps.sh installs it)";
    const CliRun json = CliRun::run({"info", "--json", mp3, part, missing});
    EXPECT_EQ(json.exitCode, 1);
    const std::string output = folder.file("info.json");
    FileBytes::writeText(output, json.out);
    const CliRun check = CliRun::runProgram(python, {QUARVEL_INFO_JSON_CHECK, output, mp3, title, part, missing});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err << json.out;

    // A good part alone: exit status 0.
    EXPECT_EQ(CliRun::run({"info", "--json", part}).exitCode, 0);
}

TEST_F(Mp3CliTest, TagRewritesBothTagsAndKeepsTheAudio) {
    const std::string path = copy("cbr128.mp3");
    const Bytes before = FileBytes::read(path);
    const CliRun run = CliRun::run({"tag", path, "--title", "Neuer Titel \xE2\x99\xAB", "--genre", "jazz", "--track", "12"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "ID3v1 and ID3v2 Tag updated\n");
    const Bytes after = FileBytes::read(path);
    EXPECT_EQ(audioOf(after), audioOf(before));

    const CliRun info = CliRun::run({"info", path});
    for (const char* line : {"  Title: Neuer Titel \xE2\x99\xAB\n", "  Artist: Quarvel\n", "  Comment: one second\n",
                             "  Genre: Jazz\n  Track: 12\n", "  Frames: 40\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << "\n" << info.out;
    EXPECT_EQ(Bytes(after.end() - 128, after.end() - 98), TagBytes::join({TagBytes::of("TAGNeuer Titel ?"), Bytes(14, 0)}));
}

TEST_F(Mp3CliTest, TagWritesOnlyV1WhereTheFileHasNoV2Tag) {
    const std::string tagged = copy("mono64.mp3");
    const Bytes before = FileBytes::read(tagged);
    CliRun run = CliRun::run({"tag", tagged, "--artist", "Someone"});
    EXPECT_EQ(run.out, "ID3v1 Tag updated\n");
    EXPECT_EQ(run.exitCode, 0);
    Bytes after = FileBytes::read(tagged);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(audioOf(after), audioOf(before));
    EXPECT_NE(CliRun::run({"info", tagged}).out.find("  Title: Mono\n  Artist: Someone\n"), std::string::npos);

    const std::string bare = copy("layer2.mp2");
    const Bytes plain = FileBytes::read(bare);
    run = CliRun::run({"tag", bare, "--genre", "Own Style", "--year", "1999"});
    EXPECT_EQ(run.out, "ID3v1 Tag updated\n");
    after = FileBytes::read(bare);
    ASSERT_EQ(after.size(), plain.size() + 128);
    EXPECT_EQ(Bytes(after.begin(), after.end() - 128), plain);
    EXPECT_EQ(after[after.size() - 1], 255); // no genre number for a name outside the list
}

// Texts from tags other readers show as well: a genre name of its own, a year of the release,
// a 2.2 tag. They show in `info` and stay through a `tag` write of another text.
TEST_F(Mp3CliTest, InfoAndTagKeepGenreNamesYearsAndV22Texts) {
    const Bytes audio = TagBytes::mpegFrames(6);
    const Bytes v22 = TagBytes::join({TagBytes::of("TT2"), {0, 0, 4, 0}, TagBytes::of("Old"), TagBytes::of("TCO"), {0, 0, 5, 0},
                                      TagBytes::of("(17)"), TagBytes::of("TYE"), {0, 0, 5, 0}, TagBytes::of("1999")});
    const struct {
        Bytes file;
        const char* lines; // in info before and after the write
        std::uint8_t v1Genre;
    } cases[] = {
        {TagBytes::join({TagBytes::tag(TagBytes::textFrame("TCON", "Dubstep")), audio}), "  Genre: Dubstep\n", 255},
        {TagBytes::join({TagBytes::tag(TagBytes::textFrame("TDRL", "2019", 4), 4), audio}), "  Year: 2019\n", 255},
        {TagBytes::join({TagBytes::tag(v22, 2), audio}), "  Title: Old\n  Artist: Someone\n  Album: \n  Year: 1999\n", 17},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file("song.mp3");
        FileBytes::write(path, c.file);
        const CliRun before = CliRun::run({"info", path});
        const std::string shown = std::string(c.lines).substr(0, std::string(c.lines).find("  Artist"));
        EXPECT_NE(before.out.find(shown), std::string::npos) << shown << "\n" << before.out;
        const CliRun write = CliRun::run({"tag", path, "--artist", "Someone"});
        EXPECT_EQ(write.exitCode, 0) << write.err;
        const CliRun after = CliRun::run({"info", path});
        EXPECT_NE(after.out.find(c.lines), std::string::npos) << c.lines << "\n" << after.out;
        const Bytes file = FileBytes::read(path);
        ASSERT_TRUE(hasV1(file));
        EXPECT_EQ(file.back(), c.v1Genre) << c.lines;
    }
}

TEST_F(Mp3CliTest, TagRefusesFilesWithoutMpegAudio) {
    const std::string path = folder.file("sound.wav");
    const Bytes wave = TagBytes::join({TagBytes::of("RIFF"), Bytes(300, 1)});
    FileBytes::write(path, wave);
    const CliRun run = CliRun::run({"tag", path, "--title", "x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Error: No Tag updated\n");
    EXPECT_EQ(FileBytes::read(path), wave);
    EXPECT_EQ(CliRun::run({"tag"}).exitCode, 2);
    EXPECT_EQ(CliRun::run({"tag", path, "--colour", "red"}).exitCode, 2);
}

} // namespace
