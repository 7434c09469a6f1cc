#include "PartSetBuilder.h"
#include "base/FileError.h"
#include "base/WriteBehind.h"
#include "splitjoin/ByteSum.h"
#include "splitjoin/CCode.h"
#include "splitjoin/Joiner.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/Splitter.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingSinks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A 6-part Geo set of "My Song.mp3" in parts/, joined into out/.
class JoinerTest : public ::testing::Test {
protected:
    // A split size holds this much besides a part's data: 1000 bytes give 822 data bytes.
    static constexpr std::size_t kPartOverhead = 1000 - 822;

    void SetUp() override {
        fs::create_directory(parts());
        fs::create_directory(out());
    }

    std::string parts() const { return folder.file("parts"); }
    std::string out() const { return folder.file("out"); }
    std::string part(int i) const { return parts() + "/my_song0" + std::to_string(i) + ".ppt"; }

    void splitSet(bool cryptData = false, const std::string& key = "", std::size_t length = 5 * 822 + 100,
                  std::uint64_t partBytes = 1000) {
        source = FileBytes::pattern(length, 42);
        FileBytes::write(parts() + "/My Song.mp3", source);
        RecordingSinks splitSinks;
        Splitter splitter(splitSinks);
        splitter.values().splitSize = SplitSize::ofBytes(partBytes); // 1000: 822 data bytes a part
        splitter.values().outputFolder = parts();
        splitter.values().makePage = false;
        splitter.values().cryptData = cryptData;
        splitter.values().userKey = key;
        splitter.DeriveOutputName(parts() + "/My Song.mp3");
        ASSERT_TRUE(splitter.Split());
        fs::remove(parts() + "/My Song.mp3");
    }

    Joiner& pick(const std::string& path, const std::string& key = "") {
        joiner.values().outputFolder = out();
        joiner.values().userKey = key;
        joiner.PickPart(path);
        return joiner;
    }

    void patch(const std::string& path, std::size_t offset, std::vector<std::uint8_t> bytes) {
        auto file = FileBytes::read(path);
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
        FileBytes::write(path, file);
    }

    std::vector<std::string> filesIn(const std::string& path) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    RecordingSinks sinks;
    Joiner joiner{sinks, sinks};
    std::vector<std::uint8_t> source;
};

} // namespace

TEST_F(JoinerTest, JoinsAGeoSetFromAnyPart) {
    splitSet(true, "key");
    pick(part(3), "key");
    EXPECT_EQ(joiner.values().inputPart, part(0));
    EXPECT_EQ(joiner.values().outputName, "My Song.mp3");
    EXPECT_EQ(joiner.values().partCount, 6u);
    EXPECT_EQ(joiner.values().partType, 15);
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(FileBytes::read(out() + "/My Song.mp3"), source);
    EXPECT_EQ(sinks.lastStatus(), "\tReady\tFertig");
    EXPECT_EQ(filesIn(out()), std::vector<std::string>{"My Song.mp3"}) << "no temporary file left";
}

// The data goes through the write-behind in chunks: parts that start and end inside a chunk,
// at its edge, or span several keep every byte and its sum, plain and enciphered.
TEST_F(JoinerTest, SplitAndJoinKeepEveryByteWhereChunksAndPartsMeet) {
    constexpr std::size_t chunk = WriteBehind::ChunkSize;
    struct Case {
        std::size_t length;    // of the source
        std::size_t dataBytes; // a part
    };
    for (const Case c : {Case{1, chunk}, Case{chunk - 1, chunk}, Case{chunk, chunk}, Case{chunk + 1, chunk},
                         Case{3 * chunk, chunk - 1}, Case{5 * chunk + 7, chunk + 1}, Case{2 * chunk + 3, 9 * chunk}}) {
        for (const bool crypt : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.length << " bytes in parts of " << c.dataBytes << (crypt ? ", enciphered" : ""));
            splitSet(crypt, "key", c.length, c.dataBytes + kPartOverhead);
            const std::size_t count = (c.length + c.dataBytes - 1) / c.dataBytes;
            for (std::size_t i = 0; i < count; ++i) {
                CCode read;
                read.userKey = "key";
                ASSERT_TRUE(read.load(FileBytes::read(part(static_cast<int>(i)))));
                const auto from = source.begin() + static_cast<std::ptrdiff_t>(i * c.dataBytes);
                const std::vector<std::uint8_t> slice(from, from + static_cast<std::ptrdiff_t>(read.dataLength));
                EXPECT_EQ(read.dataLength, std::min(c.dataBytes, c.length - i * c.dataBytes));
                EXPECT_TRUE(read.data == slice) << "part " << i;
                EXPECT_EQ(read.checksum, ByteSum::add(0, slice.data(), slice.size())) << "part " << i;
            }
            EXPECT_FALSE(fs::exists(part(static_cast<int>(count))));
            pick(part(0), "key");
            ASSERT_TRUE(joiner.Join());
            EXPECT_TRUE(FileBytes::read(out() + "/My Song.mp3") == source);
            for (const std::string& made : {parts(), out()})
                for (const auto& entry : fs::directory_iterator(made)) fs::remove(entry.path());
        }
    }
}

// The rebuilt file is written behind the reading on a second thread: a disk that fills up,
// whether in the first chunk, in a later one or in the last part, fails the join and keeps the
// parts even when they were to be deleted, with no rebuilt or temporary file left.
TEST_F(JoinerTest, ADiskThatFillsUpFailsTheJoinAndKeepsTheParts) {
    constexpr std::size_t chunk = WriteBehind::ChunkSize;
    const std::size_t length = 4 * chunk + 11;
    for (const std::uint64_t limit : {std::uint64_t(100), std::uint64_t(chunk + 5), std::uint64_t(length - 1)}) {
        SCOPED_TRACE(testing::Message() << "room for " << limit << " bytes");
        splitSet(false, "", length, 2 * chunk + kPartOverhead); // two parts of two chunks, a last one of 11 bytes
        pick(part(0));
        joiner.values().autoDelete = true;
        {
            FileSizeLimit full(limit);
            try {
                joiner.Join();
                ADD_FAILURE() << "no FileError";
            } catch (const FileError& error) {
                EXPECT_EQ(error.description(), "File too large");
            }
        }
        EXPECT_TRUE(filesIn(out()).empty()) << "no rebuilt or temporary file";
        EXPECT_EQ(filesIn(parts()).size(), 3u) << "every part kept";
        for (const auto& entry : fs::directory_iterator(parts())) fs::remove(entry.path());
    }
}

TEST_F(JoinerTest, JoinsAClassicSetFromPartZero) {
    source = FileBytes::pattern(3000, 7);
    for (std::uint32_t flags : {1u, 3u, 11u}) {
        PartSetBuilder::writeClassicSet(parts() + "/song.s00", "song.wav", source, 700, flags, "pw");
        pick(parts() + "/song.s00", "pw");
        EXPECT_EQ(joiner.values().partCount, 5u);
        EXPECT_EQ(joiner.values().inputPart, parts() + "/song.s00");
        ASSERT_TRUE(joiner.Join()) << flags;
        EXPECT_EQ(FileBytes::read(out() + "/song.wav"), source) << flags;
    }
}

TEST_F(JoinerTest, AutoDeleteRemovesThePartsLastFirst) {
    splitSet();
    pick(part(2));
    joiner.values().autoDelete = true;
    std::vector<std::string> deleted;
    joiner.setPartDeletedCallback([&](const std::string& path) { deleted.push_back(path); });
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(deleted, (std::vector<std::string>{part(5), part(4), part(3), part(2), part(1), part(0)}));
    EXPECT_TRUE(filesIn(parts()).empty());
    EXPECT_EQ(FileBytes::read(out() + "/My Song.mp3"), source);
}

TEST_F(JoinerTest, AMissingPartIsReportedAndDisablesTheJoin) {
    splitSet();
    fs::remove(part(2));
    pick(part(4));
    const std::string missing = "Datei: " + part(2) + " fehlt\r\nFile: " + part(2) + " doesn't exist";
    EXPECT_EQ(sinks.boxes, std::vector<std::string>{missing});
    EXPECT_EQ(sinks.lastStatus(), missing);
    EXPECT_EQ(joiner.values().outputName, "");

    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(sinks.boxes.size(), 2u);
    EXPECT_EQ(sinks.lastStatus(), "Output file couldn't be created\r\nIs a directory\r\n\r\n"
                                  "Ausgabedatei kann nicht angelegt werden\r\nIs a directory");
    EXPECT_TRUE(filesIn(out()).empty());
}

TEST_F(JoinerTest, DamagedPartsStopTheJoinAndKeepAnExistingOutput) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        std::string status;
    };
    const std::string p = "PART";
    const std::vector<Case> cases = {
        {"index", 11, {7, 0, 0, 0}, "File: PART has wrong part no: 7\r\nDatei: PART hat falsche Split Nummer: 7"},
        {"length", 31, {0, 0, 0, 0}, "File: PART has wrong length\r\nDatei: PART hat falsche Länge"},
        {"structure", 6, {'X'}, "File: PART has wrong structure\r\nDatei: PART hat falsche Structure"},
        {"checksum", 19, {1, 2, 3, 4},
         "Checksum Fehler: PART\r\nOder CryptKey falsch\r\n\nChecksum error: PART\r\nor Cryptkey wrong"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        splitSet();
        FileBytes::writeText(out() + "/My Song.mp3", "keep me");
        patch(part(1), c.offset, c.bytes);
        pick(part(0));
        EXPECT_FALSE(joiner.Join());
        std::string expected = c.status;
        for (std::size_t at; (at = expected.find(p)) != std::string::npos;) expected.replace(at, p.size(), part(1));
        EXPECT_EQ(sinks.lastStatus(), expected);
        EXPECT_EQ(FileBytes::readText(out() + "/My Song.mp3"), "keep me");
        EXPECT_EQ(filesIn(out()).size(), 1u);
        EXPECT_EQ(filesIn(parts()).size(), 6u);
    }
    EXPECT_EQ(joiner.values().outputName, "") << "a checksum error empties the output name";
}

TEST_F(JoinerTest, WrongKeyOnEncipheredDataFailsAtPartZero) {
    splitSet(true, "right");
    pick(part(0), "");
    joiner.values().outputName = "typed.mp3";
    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(sinks.boxes.back().rfind("Checksum Fehler: " + part(0), 0), 0u);
    EXPECT_FALSE(FileBytes::exists(out() + "/typed.mp3"));
}

TEST_F(JoinerTest, WrongKeyOnAPlainDataSetGivesRightDataUnderTheGarbledName) {
    splitSet(false, "right");
    pick(part(0), "");
    const std::string garbled = joiner.values().outputName;
    ASSERT_FALSE(garbled.empty());
    EXPECT_EQ(garbled.find('/'), std::string::npos);
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(FileBytes::read(out() + "/" + garbled), source);
}

TEST_F(JoinerTest, OldAndEncFilesAreRebuilt) {
    source = FileBytes::pattern(10'001, 3);
    FileBytes::write(parts() + "/a.old", PartSetBuilder::oldFile("Title", "Artist", source));
    FileBytes::write(parts() + "/b.enc", PartSetBuilder::encFile("Band", "Song", source));
    struct Case {
        const char* file;
        int type;
        const char* name;
    };
    for (const Case& c : {Case{"/a.old", 17, "Artist - Title.mp3"}, Case{"/b.enc", 16, "Band - Song.mp3"}}) {
        pick(parts() + c.file);
        EXPECT_EQ(joiner.values().partType, c.type);
        EXPECT_EQ(joiner.values().partCount, 0u);
        EXPECT_EQ(joiner.values().outputName, c.name);
        ASSERT_TRUE(joiner.Join());
        EXPECT_EQ(FileBytes::read(out() + "/" + c.name), source);
    }
}

TEST_F(JoinerTest, RefusalsWriteNothing) {
    splitSet();
    pick(part(0));
    joiner.values().outputFolder = parts();
    joiner.values().outputName = "my_song03.ppt"; // one of the parts it reads
    const auto before = FileBytes::read(part(3));
    EXPECT_FALSE(joiner.Join());
    EXPECT_NE(sinks.lastStatus().find("is a part of the set"), std::string::npos);
    EXPECT_EQ(FileBytes::read(part(3)), before);

    FileBytes::writeText(parts() + "/notes.txt", "just text");
    pick(parts() + "/notes.txt");
    EXPECT_EQ(sinks.lastStatus(), "Keine Datei zu decodieren");
    EXPECT_EQ(joiner.values().partType, 0);
    joiner.values().outputName = "typed.txt";
    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(sinks.lastStatus().rfind("Not a part file", 0), 0u);
    EXPECT_TRUE(filesIn(out()).empty());

    patch(part(0), 23, {0x15, 0, 0, 0}); // flags above 15
    pick(part(0));
    EXPECT_NE(sinks.lastStatus().find("unknown flags: 21"), std::string::npos);
    EXPECT_FALSE(joiner.Join());
    EXPECT_TRUE(filesIn(out()).empty());
}

// The count has no checksum: a set whose parts disagree on it, on the flags or on the name, or
// that has a part of its own beyond the count, is refused before a byte is written.
TEST_F(JoinerTest, PartsThatDisagreeWithTheSetAreRefused) {
    struct Case {
        const char* what;
        int patchedPart;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        int pickedPart;
        const char* status; // the start of it
        int namedPart;      // the part the message names
    };
    const std::vector<Case> cases = {
        {"count 0 everywhere", -1, 15, {0, 0, 0, 0}, 0, "File: PART has wrong part count: 0", 0},
        {"part 0 says fewer", 0, 15, {5, 0, 0, 0}, 0, "File: PART belongs to the set but lies beyond its 5", 5},
        // The join reads its set from part 0 again, whichever part was picked.
        {"part 0 says fewer, picked at 2", 0, 15, {5, 0, 0, 0}, 2, "File: PART belongs to the set but lies beyond its 5", 5},
        {"part 3 says fewer", 3, 15, {4, 0, 0, 0}, 0, "File: PART does not belong", 3},
        {"part 3 says more", 3, 15, {7, 0, 0, 0}, 0, "File: PART does not belong", 3},
        {"count 5 everywhere", -1, 15, {5, 0, 0, 0}, 1, "File: PART belongs to the set but lies beyond its 5",
         5},
        {"part 2 has other flags", 2, 23, {7, 0, 0, 0}, 0, "File: PART does not belong", 2},
        {"index beyond the count", 4, 11, {9, 0, 0, 0}, 4, "File: PART has wrong part no: 9", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        splitSet();
        for (int i = 0; i < 6; ++i)
            if (c.patchedPart == i || c.patchedPart < 0) patch(part(i), c.offset, c.bytes);
        pick(part(c.pickedPart));
        joiner.values().outputName = "out.bin";
        EXPECT_FALSE(joiner.Join());
        std::string expected = c.status;
        expected.replace(expected.find("PART"), 4, part(c.namedPart));
        EXPECT_EQ(sinks.lastStatus().rfind(expected, 0), 0u) << sinks.lastStatus();
        EXPECT_TRUE(filesIn(out()).empty());
    }
}

TEST_F(JoinerTest, APartOfAnotherSetIsRefused) {
    splitSet();
    const auto ownPartOne = FileBytes::read(part(1));
    // The same split of another file: valid header and checksum, another stored name.
    FileBytes::write(parts() + "/Other.mp3", source);
    RecordingSinks otherSinks;
    Splitter other(otherSinks);
    other.values().splitSize = SplitSize::ofBytes(1000);
    other.values().outputFolder = folder.file("out");
    other.values().makePage = false;
    other.DeriveOutputName(parts() + "/Other.mp3");
    ASSERT_TRUE(other.Split());
    fs::copy_file(out() + "/other01.ppt", part(1), fs::copy_options::overwrite_existing);
    for (const auto& entry : fs::directory_iterator(out())) fs::remove(entry);
    pick(part(0));
    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(sinks.lastStatus().rfind("File: " + part(1) + " does not belong to the set of " + part(0), 0), 0u);
    EXPECT_TRUE(filesIn(out()).empty());
    FileBytes::write(part(1), ownPartOne);
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(FileBytes::read(out() + "/My Song.mp3"), source);
}

TEST_F(JoinerTest, JoinsFromAPartNumberedAbove99) {
    splitSet(false, "", 101 * 822 + 5); // 102 parts: my_song00.ppt to my_song101.ppt
    const std::string last = parts() + "/my_song101.ppt";
    ASSERT_TRUE(FileBytes::exists(last));
    pick(last);
    EXPECT_EQ(joiner.values().inputPart, part(0));
    EXPECT_EQ(joiner.values().partCount, 102u);
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(FileBytes::read(out() + "/My Song.mp3"), source);
}

TEST_F(JoinerTest, HeaderNamesCannotLeaveTheOutputFolder) {
    source = FileBytes::pattern(100, 9);
    PartSetBuilder::writeClassicSet(parts() + "/evil.s00", "../escaped", source, 1000, 0);
    pick(parts() + "/evil.s00");
    EXPECT_EQ(joiner.values().outputName, ".._escaped");
    ASSERT_TRUE(joiner.Join());
    EXPECT_EQ(FileBytes::read(out() + "/.._escaped"), source);
    EXPECT_FALSE(FileBytes::exists(folder.file("escaped")));
}

TEST_F(JoinerTest, UnopenableFilesReportBothLanguages) {
    pick(parts() + "/none.ppt");
    EXPECT_EQ(sinks.lastStatus(), "Input file couldn't be opened\r\nNo such file or directory\r\n\r\n"
                                  "Split-Datei konnte nicht geöffnet werden\r\nNo such file or directory");

    splitSet();
    fs::remove(part(4));
    fs::create_directory(part(4)); // exists, but cannot be read as a part
    pick(part(0));
    EXPECT_FALSE(joiner.Join());
    EXPECT_EQ(sinks.lastStatus(), "Can't open input file: " + part(4) + "\r\nKann Split-Datei: " + part(4) +
                                      " nicht öffnen\r\n");
}
