#include "base/FileError.h"
#include "splitjoin/CCode.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/Splitter.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingSinks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SplitterTest : public ::testing::Test {
protected:
    Splitter& prepare(const std::string& name, std::size_t length, const std::string& sizeText = "1.0 MB") {
        source = FileBytes::pattern(length);
        FileBytes::write(folder.file(name), source);
        splitter.values().splitSize = SplitSize(sizeText);
        splitter.values().outputFolder = folder.path();
        splitter.DeriveOutputName(folder.file(name));
        return splitter;
    }

    TempFolder folder;
    RecordingSinks sinks;
    Splitter splitter{sinks};
    std::vector<std::uint8_t> source;
};

} // namespace

TEST_F(SplitterTest, PartCountsAtThePayloadBoundary) {
    struct Case {
        std::size_t length;
        const char* size;
        std::uint64_t parts;
    };
    for (const Case& c : {Case{999'822, "1.0 MB", 1}, Case{999'823, "1.0 MB", 2}, Case{2 * 999'822, "1.0 MB", 2},
                          Case{0, "1.0 MB", 0}, Case{5'000'000, "0.0 MB unsplit", 1}}) {
        prepare("a.bin", c.length, c.size);
        EXPECT_EQ(splitter.values().partCount, c.parts) << c.length << " " << c.size;
    }
}

TEST_F(SplitterTest, SplitWritesNumberedPartsAndStatusTexts) {
    prepare("My Song.mp3", 999'823 + 999'822);
    EXPECT_EQ(splitter.values().outputName, "my_song00.ppt");
    ASSERT_TRUE(splitter.Split());
    EXPECT_EQ(sinks.statuses, (std::vector<std::string>{"", "Please wait, processing", "Part 0 created",
                                                       "Part 1 created", "Part 2 created",
                                                       "Ready, 3 files created"}));
    EXPECT_EQ(std::filesystem::file_size(folder.file("my_song00.ppt")), 999'985u);
    EXPECT_EQ(std::filesystem::file_size(folder.file("my_song02.ppt")), 163u + 1u);
    EXPECT_TRUE(splitter.values().ready);
    EXPECT_TRUE(splitter.values().pageDone);
    EXPECT_EQ(splitter.values().pagePath, folder.file("my_song.html"));

    CCode last;
    ASSERT_TRUE(last.load(FileBytes::read(folder.file("my_song02.ppt"))));
    EXPECT_EQ(last.partIndex, 2u);
    EXPECT_EQ(last.partCount, 3u);
    EXPECT_EQ(last.flagsAsRead, CCode::NameEnciphered | CCode::GeoNaming);
    EXPECT_EQ(last.name(), "My Song.mp3");
    EXPECT_EQ(last.data, std::vector<std::uint8_t>(source.end() - 1, source.end()));
}

TEST_F(SplitterTest, EmptySourceGivesNoPartsAndAnEmptyPage) {
    prepare("empty.txt", 0);
    ASSERT_TRUE(splitter.Split());
    EXPECT_EQ(sinks.lastStatus(), "Ready, 0 files created");
    EXPECT_FALSE(FileBytes::exists(folder.file("empty00.ppt")));
    const std::string page = FileBytes::readText(folder.file("empty.html"));
    EXPECT_EQ(page.find("<tr><td width"), std::string::npos);
}

TEST_F(SplitterTest, TypedOutputNamesAreCompleted) {
    struct Case {
        const char* typed;
        const char* completed;
        const char* secondPart;
    };
    for (const Case& c : {Case{"test", "test00.ppt", "test01.ppt"}, Case{"song2000", "song2000.ppt", "song2001.ppt"},
                          Case{"abc.ppt", "abc.ppt", "a01.ppt"}}) {
        prepare("in.bin", 999'823);
        splitter.values().outputName = c.typed;
        splitter.values().makePage = false;
        ASSERT_TRUE(splitter.Split());
        EXPECT_EQ(splitter.values().outputName, c.completed);
        EXPECT_TRUE(FileBytes::exists(folder.file(c.secondPart))) << c.secondPart;
    }
}

TEST_F(SplitterTest, EncipheredDataWithAUserKey) {
    prepare("data.bin", 3000, "0.001 MB"); // 1000 bytes a part, 822 of them data
    splitter.values().cryptData = true;
    splitter.values().userKey = "abc";
    ASSERT_TRUE(splitter.Split());
    const auto part = FileBytes::read(folder.file("data01.ppt"));
    CCode read;
    read.userKey = "abc";
    ASSERT_TRUE(read.load(part));
    EXPECT_EQ(read.flagsAsRead, 15u);
    EXPECT_EQ(read.data, std::vector<std::uint8_t>(source.begin() + 822, source.begin() + 1644));
    EXPECT_NE(std::vector<std::uint8_t>(part.begin() + 163, part.end()), read.data) << "data lies enciphered";
}

TEST_F(SplitterTest, RefusedSizesWriteNothing) {
    for (const char* size : {"0.000178 MB", "abc", "-1 MB", "5000 MB"}) {
        prepare("x.bin", 1000, size);
        sinks.statuses.clear();
        EXPECT_FALSE(splitter.Split()) << size;
        EXPECT_NE(sinks.lastStatus().find("Split-Größe"), std::string::npos) << size;
        EXPECT_FALSE(FileBytes::exists(folder.file("x00.ppt")));
        EXPECT_FALSE(FileBytes::exists(folder.file("x.html")));
    }
}

TEST_F(SplitterTest, AnUnsplitSourceOf4GiBIsRefused) {
    prepare("big.bin", 0, "0.0 MB unsplit");
    std::filesystem::resize_file(folder.file("big.bin"), 4ull << 30); // sparse
    EXPECT_FALSE(splitter.Split());
    EXPECT_NE(sinks.lastStatus().find("4 GB"), std::string::npos);
}

TEST_F(SplitterTest, APartThatWouldBeTheSourceIsRefused) {
    prepare("song00.ppt", 5000);
    splitter.values().outputName = "song00.ppt";
    EXPECT_FALSE(splitter.Split());
    EXPECT_NE(sinks.lastStatus().find("overwrite its own source"), std::string::npos);
    EXPECT_EQ(FileBytes::read(folder.file("song00.ppt")), source);

    prepare("index.html", 5000); // its page would be index.html
    EXPECT_FALSE(splitter.Split());
    EXPECT_EQ(FileBytes::read(folder.file("index.html")), source);
}

TEST_F(SplitterTest, FailureTexts) {
    prepare("gone.bin", 10);
    std::filesystem::remove(folder.file("gone.bin"));
    EXPECT_FALSE(splitter.Split());
    EXPECT_EQ(sinks.lastStatus(), "Input file couldn't be opened\r\nNo such file or directory");

    prepare("in.bin", 10);
    splitter.values().outputFolder = folder.file("missing");
    EXPECT_FALSE(splitter.Split());
    EXPECT_EQ(sinks.lastStatus(), "Can't create HTML file : Aborted");
    EXPECT_FALSE(splitter.values().ready);

    splitter.values().makePage = false;
    EXPECT_FALSE(splitter.Split());
    EXPECT_EQ(sinks.lastStatus(), "Output file couldn't be created\r\nNo such file or directory");

    // A device is never replaced by a part (nor written as one).
    if (FileBytes::exists("/dev/full")) {
        prepare("in.bin", 10);
        splitter.values().makePage = false;
        std::filesystem::create_symlink("/dev/full", folder.file("in00.ppt"));
        EXPECT_FALSE(splitter.Split());
        EXPECT_EQ(sinks.lastStatus(), "Output file couldn't be created\r\nNot a regular file");
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
}

TEST_F(SplitterTest, AWriteErrorKeepsTheCompletePartsAndRemovesTheOneInWriting) {
    // Four parts of 822 data bytes; a part of that name from before the split.
    prepare("in.bin", 3000, "0.001 MB");
    splitter.values().makePage = false;
    FileBytes::writeText(folder.file("in02.ppt"), "from before");
    // The source loses its end while part 1 is written: part 2 cannot be read whole.
    splitter.setProgressCallback([this](const Progress& step) {
        if (step.part == 1) std::filesystem::resize_file(folder.file("in.bin"), 1700);
    });
    try {
        splitter.Split();
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.description(), "Input/output error");
    }
    EXPECT_EQ(sinks.lastStatus(), "Aborted: 2 parts were written completely");
    EXPECT_FALSE(splitter.values().ready);
    EXPECT_EQ(std::filesystem::file_size(folder.file("in01.ppt")), 985u);
    EXPECT_EQ(FileBytes::readText(folder.file("in02.ppt")), "from before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4) << "in.bin, in00 to in02";

    // A disk that is full from the first part on.
    prepare("full.bin", 3000, "0.001 MB");
    splitter.values().makePage = false;
    splitter.setProgressCallback({});
    {
        FileSizeLimit full(900);
        EXPECT_THROW(splitter.Split(), FileError);
    }
    EXPECT_EQ(sinks.lastStatus(), "Aborted: 0 parts were written completely");
    EXPECT_FALSE(FileBytes::exists(folder.file("full00.ppt")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 5) << "no temporary file";
}
