#include "platform/xaudio/XaudioAnalyzer.h"

#include "metadata/Id3TagTexts.h"
#include "support/TagBytes.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

namespace {

struct AnalyzerDeleter {
    void operator()(XaudioAnalyzer* handle) const { xanalyzer_delete(handle); }
};

class XaudioAnalyzerTest : public ::testing::Test {
protected:
    void SetUp() override {
        XA_AnalyzerHandle created = nullptr;
        ASSERT_EQ(xanalyzer_new(&created), 0);
        analyzer.reset(created);
        ASSERT_EQ(xanalyzer_set_tag_source(analyzer.get(), &tagTexts), 0);
    }
    int analyse(const std::string& path) {
        std::memset(&info, 0, sizeof info);
        return xanalyzer_process_file(analyzer.get(), path.c_str(), 0, 0, &info, 0, 0, 0);
    }
    int analyse(const Bytes& bytes) {
        const std::string path = folder.file("stream.mp3");
        FileBytes::write(path, bytes);
        return analyse(path);
    }
    static std::string text(const char* pointer) { return pointer ? pointer : "(none)"; }

    Id3TagTexts tagTexts;
    std::unique_ptr<XaudioAnalyzer, AnalyzerDeleter> analyzer;
    XA_AnalyzerInfo info{};
    TempFolder folder;
};

// The fixtures of tests/fixtures/make_mp3_fixtures.sh. Frames and durations agree with the
// frame count of the files' own Info headers and with mediainfo and ffprobe (whose
// -count_frames leaves out one padding frame of mpeg2_22k.mp3 but whose duration counts it).
TEST_F(XaudioAnalyzerTest, EncodedFixtures) {
    const struct {
        const char* file;
        int level, layer, bitrate, frequency, mode, channels, frames;
        unsigned duration;
        int variations;
    } cases[] = {
        {"cbr128.mp3", 1, 3, 128000, 44100, 1, 2, 40, 1045, 0},
        {"vbr.mp3", 1, 3, 0, 44100, 1, 2, 78, 2038, 4},
        {"abr96.mp3", 1, 3, 0, 32000, 1, 2, 57, 2052, 4},
        {"mpeg2_22k.mp3", 2, 3, 64000, 22050, 1, 2, 41, 1071, 0},
        {"mpeg25_8k.mp3", 0, 3, 16000, 8000, 3, 1, 16, 1152, 0},
        {"mono64.mp3", 1, 3, 64000, 44100, 3, 1, 40, 1045, 0},
        {"layer2.mp2", 1, 2, 192000, 44100, 0, 2, 39, 1019, 0},
        // CRC-protected (lame -p): the Info frame is no audio; the VBR average leaves it out
        // ((15248 - 417) bytes over 78 frames of 1152 samples at 44.1 kHz).
        {"crc128.mp3", 1, 3, 128000, 44100, 1, 2, 40, 1045, 0},
        {"crc_vbr.mp3", 1, 3, 58231, 44100, 1, 2, 78, 2038, 4},
        {"noinfo128.mp3", 1, 3, 128000, 44100, 1, 2, 40, 1045, 0}, // lame -t: no Info frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(analyse(std::string(QUARVEL_FIXTURES "/mpeg/") + c.file), 0);
        EXPECT_EQ(info.level, c.level);
        EXPECT_EQ(info.layer, c.layer);
        if (c.bitrate != 0) {
            EXPECT_EQ(info.bitrate, c.bitrate);
        }
        EXPECT_EQ(info.frequency, c.frequency);
        EXPECT_EQ(info.mode, c.mode);
        EXPECT_EQ(info.channels, c.channels);
        EXPECT_EQ(info.frames, c.frames);
        EXPECT_EQ(info.duration, c.duration);
        EXPECT_EQ(info.variations, c.variations);
    }
}

// Bytes behind the last frame that hold no frame do not cost the last frame: a stray byte, a
// hundred, or an MP3 inside a RIFF file whose odd data chunk ends with a pad byte.
TEST_F(XaudioAnalyzerTest, BytesBehindTheLastFrameKeepIt) {
    const Bytes mp3 = FileBytes::read(QUARVEL_FIXTURES "/mpeg/noinfo128.mp3"); // 40 frames
    auto le32 = [](std::size_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
                     static_cast<std::uint8_t>(v >> 24)};
    };
    const Bytes data = TagBytes::join({mp3, {0x55}});
    const Bytes format = TagBytes::join({{0x55, 0, 2, 0}, le32(44100), le32(16000), {1, 0, 0, 0}, Bytes(14, 0)});
    const Bytes chunks = TagBytes::join({TagBytes::of("WAVEfmt "), le32(format.size()), format, TagBytes::of("data"),
                                         le32(data.size()), data, {0}});
    const Bytes riff = TagBytes::join({TagBytes::of("RIFF"), le32(chunks.size()), chunks});
    for (const Bytes& file : {TagBytes::join({mp3, TagBytes::of("x")}), TagBytes::join({mp3, Bytes(100, 'x')}), riff}) {
        ASSERT_EQ(analyse(file), 0);
        EXPECT_EQ(info.frames, 40) << file.size();
        EXPECT_EQ(info.duration, 1045u) << file.size();
    }
}

TEST_F(XaudioAnalyzerTest, VariableBitrateGivesTheAverage) {
    ASSERT_EQ(analyse(std::string(QUARVEL_FIXTURES "/mpeg/vbr.mp3")), 0);
    EXPECT_GT(info.bitrate, 32000);
    EXPECT_LT(info.bitrate, 256000);
    // Two frames of 128 and two of 160 kbit/s average to 144 kbit/s.
    const Bytes mixed = TagBytes::join({TagBytes::mpegFrame(0xFB, 0x90, 0x44, 417), TagBytes::mpegFrame(0xFB, 0xA0, 0x44, 522),
                                        TagBytes::mpegFrame(0xFB, 0x90, 0x44, 417), TagBytes::mpegFrame(0xFB, 0xA0, 0x44, 522)});
    ASSERT_EQ(analyse(mixed), 0);
    EXPECT_EQ(info.frames, 4);
    EXPECT_NEAR(info.bitrate, 144000, 300);
    EXPECT_EQ(info.variations, 4);
}

TEST_F(XaudioAnalyzerTest, TagTextsComeFromV2ThenV1) {
    ASSERT_EQ(analyse(std::string(QUARVEL_FIXTURES "/mpeg/cbr128.mp3")), 0);
    EXPECT_EQ(text(info.title), "Tone");
    EXPECT_EQ(text(info.artist), "Quarvel");
    EXPECT_EQ(text(info.album), "Fixtures");
    EXPECT_EQ(text(info.year), "2024");
    EXPECT_EQ(text(info.comment), "one second"); // a UTF-16 COMM whose empty description has no BOM
    EXPECT_EQ(info.genre, 17);

    ASSERT_EQ(analyse(std::string(QUARVEL_FIXTURES "/mpeg/mono64.mp3")), 0);
    EXPECT_EQ(text(info.title), "Mono");
    EXPECT_EQ(text(info.artist), "(none)");
    EXPECT_EQ(info.genre, 12);

    const struct {
        std::string tcon;
        int genre;
    } genres[] = {{"(17)", 17}, {"(9)Metal", 9}, {"Rock", 17}, {"31", 31}, {"My Own", 255}};
    for (const auto& g : genres) {
        ASSERT_EQ(analyse(TagBytes::join({TagBytes::tag(TagBytes::join({TagBytes::textFrame("TIT2", "Caf\xE9"),
                                                                         TagBytes::textFrame("TCON", g.tcon)})),
                                          TagBytes::mpegFrames(4)})),
                  0);
        EXPECT_EQ(text(info.title), "Caf\xC3\xA9");
        EXPECT_EQ(info.genre, g.genre) << g.tcon;
    }

    ASSERT_EQ(analyse(TagBytes::mpegFrames(4)), 0);
    EXPECT_EQ(info.title, nullptr);
    EXPECT_EQ(info.genre, 255);
}

TEST_F(XaudioAnalyzerTest, SkipsTagsAndBlocksAroundTheAudio) {
    Bytes footerTag = TagBytes::tag(TagBytes::textFrame("TIT2", "T"), 4, 8, 0x10);
    const Bytes footer = {'3', 'D', 'I', 4, 0, 0x10, footerTag[6], footerTag[7], footerTag[8], footerTag[9]};
    // An APE item whose value holds frame headers: only the block's size keeps it out of the count.
    const Bytes apeBody = TagBytes::join({{8, 0, 0, 0, 0, 0, 0, 0}, TagBytes::of("X"), {0}, {0xFF, 0xFB, 0x90, 0x44, 0xFF, 0xFB, 0x90, 0x44}});
    const auto apeSize = static_cast<std::uint8_t>(apeBody.size() + 32);
    const Bytes ape = TagBytes::join({TagBytes::of("APETAGEX"), {0xD0, 0x07, 0, 0}, {apeSize, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, Bytes(8, 0)});
    const Bytes lyrics = TagBytes::join({TagBytes::of("LYRICSBEGIN"), TagBytes::of("IND0000210"), TagBytes::of("000021"), TagBytes::of("LYRICS200")});
    const Bytes file = TagBytes::join({footerTag, footer, TagBytes::mpegFrames(10), apeBody, ape, lyrics,
                                       TagBytes::v1("V1", "", "", "", "", 0, 0)});
    ASSERT_EQ(analyse(file), 0);
    EXPECT_EQ(info.frames, 10);
}

TEST_F(XaudioAnalyzerTest, ResynchronisesBehindDamage) {
    Bytes damaged = TagBytes::mpegFrames(5);
    damaged[417 * 2 + 1] = 0x00; // the third header is broken
    const Bytes file = TagBytes::join({Bytes{0xFF, 0xFB, 0x90}, Bytes(100, 0), damaged, Bytes(37, 0x20), TagBytes::mpegFrames(3)});
    ASSERT_EQ(analyse(file), 0);
    // A frame counts only when a valid header follows it: the frames in front of the broken header
    // and in front of the junk are not counted, nor is the broken one.
    EXPECT_EQ(info.frames, 1 + 1 + 3);
}

TEST_F(XaudioAnalyzerTest, FilesWithoutMpegAudioFail) {
    EXPECT_NE(analyse(folder.file("missing.mp3")), 0);
    EXPECT_NE(analyse(FileBytes::pattern(100000, 3)), 0);
    EXPECT_NE(analyse(TagBytes::of("RIFF....WAVEfmt ")), 0);
    EXPECT_NE(analyse(Bytes{}), 0);
    EXPECT_NE(analyse(TagBytes::tag(TagBytes::textFrame("TIT2", "only a tag"))), 0);
    // One lonely header is not audio either: nothing confirms it.
    EXPECT_NE(analyse(TagBytes::join({TagBytes::mpegFrame(0xFB, 0x90, 0x44, 417), Bytes(50, 0)})), 0);
    EXPECT_NE(xanalyzer_process_file(analyzer.get(), nullptr, 0, 0, &info, 0, 0, 0), 0);
    // A file that holds fewer bytes than its size says (the kernel's status files claim 4096) is
    // walked to where its bytes end, not read again and again at that end.
    const std::string shortOfItsSize = "/sys/kernel/mm/transparent_hugepage/enabled";
    if (std::filesystem::is_regular_file(shortOfItsSize)) EXPECT_NE(analyse(shortOfItsSize), 0);
}

} // namespace
