#include "PartSetBuilder.h"
#include "splitjoin/SetChecker.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/Splitter.h"
#include "support/FileBytes.h"
#include "support/RecordingSinks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using Status = SetChecker::Status;

namespace {

// Sets of "My Song.mp3" split into 822 data bytes a part, in the test's folder.
class SetCheckerTest : public ::testing::Test {
protected:
    std::string part(int i) const { return folder.file("my_song" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".ppt"); }

    void splitSet(std::size_t parts = 6, const std::string& key = "", const std::string& name = "My Song.mp3") {
        const auto source = FileBytes::pattern((parts - 1) * 822 + 100, 42);
        FileBytes::write(folder.file(name), source);
        RecordingSinks sinks;
        Splitter splitter(sinks);
        splitter.values().splitSize = SplitSize::ofBytes(1000);
        splitter.values().outputFolder = folder.file("");
        splitter.values().makePage = false;
        splitter.values().cryptData = !key.empty();
        splitter.values().userKey = key;
        splitter.DeriveOutputName(folder.file(name));
        ASSERT_TRUE(splitter.Split());
        fs::remove(folder.file(name));
    }

    void flipByte(const std::string& path, std::size_t offset) {
        auto bytes = FileBytes::read(path);
        bytes[offset] ^= 0x5A;
        FileBytes::write(path, bytes);
    }

    // Every file of the folder with its bytes, to show that a check writes nothing.
    std::map<std::string, std::vector<std::uint8_t>> snapshot() const {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& entry : fs::directory_iterator(folder.file(""))) files[entry.path()] = FileBytes::read(entry.path());
        return files;
    }

    static std::vector<Status> statuses(const SetChecker::Result& result) {
        std::vector<Status> all;
        for (const auto& part : result.parts) all.push_back(part.status);
        return all;
    }

    TempFolder folder;
};

} // namespace

TEST_F(SetCheckerTest, ACompleteSetIsSoundFromAnyPart) {
    splitSet();
    for (int picked : {0, 3, 5}) {
        const SetChecker::Result result = SetChecker::check(part(picked), "");
        EXPECT_TRUE(result.sound());
        EXPECT_EQ(result.kind, SetChecker::Kind::Set);
        EXPECT_EQ(result.name, "My Song.mp3");
        EXPECT_EQ(result.partCount, 6u);
        ASSERT_EQ(result.parts.size(), 6u);
        EXPECT_EQ(result.parts[4].path, part(4));
    }
}

// One fault at a time, checked from a part in the middle; the check changes no file.
TEST_F(SetCheckerTest, EachPartGetsItsOwnVerdict) {
    splitSet();
    // Part 1 of another file's split: a sound part, but of another set.
    splitSet(6, "", "Other.mp3");
    fs::rename(folder.file("other01.ppt"), part(1));
    fs::remove(part(2));
    flipByte(part(4), 163 + 500);               // a data byte
    FileBytes::write(part(5), {'j', 'u', 'n', 'k'}); // no part at all
    const auto before = snapshot();
    const SetChecker::Result result = SetChecker::check(part(3), "");
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(result.sound());
    EXPECT_EQ(statuses(result), (std::vector<Status>{Status::Ok, Status::Foreign, Status::Missing, Status::Ok,
                                                     Status::Damaged, Status::Unreadable}));
    EXPECT_EQ(result.parts[1].detail, "belongs to another set: another name");
    EXPECT_EQ(result.parts[4].detail, "checksum does not match");
}

TEST_F(SetCheckerTest, HeaderFaultsOfOnePart) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::vector<std::uint8_t> bytes; // written over part 2; empty: cut part 2 short
        Status status;
        const char* detail;
    };
    const std::vector<Case> cases = {
        {"other count", 15, {7, 0, 0, 0}, Status::Foreign, "belongs to another set: another part count"},
        {"other flags", 23, {7, 0, 0, 0}, Status::Foreign, "belongs to another set: other flags"},
        {"other number", 11, {4, 0, 0, 0}, Status::Damaged, "holds part number 4"},
        {"no data", 31, {0, 0, 0, 0}, Status::Damaged, "wrong data length"},
        {"cut short", 0, {}, Status::Damaged, "cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        splitSet();
        auto bytes = FileBytes::read(part(2));
        if (c.bytes.empty()) bytes.resize(bytes.size() - 1);
        else std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(c.offset));
        FileBytes::write(part(2), bytes);
        const SetChecker::Result result = SetChecker::check(part(0), "");
        ASSERT_EQ(result.parts.size(), 6u);
        EXPECT_EQ(result.parts[2].status, c.status);
        EXPECT_EQ(result.parts[2].detail, c.detail);
        EXPECT_FALSE(result.sound());
    }
}

TEST_F(SetCheckerTest, AWrongKeyFailsEveryChecksumOfAnEncipheredSet) {
    splitSet(4, "s3cret");
    EXPECT_TRUE(SetChecker::check(part(2), "s3cret").sound());
    for (const std::string key : {"", "other"}) {
        const SetChecker::Result result = SetChecker::check(part(2), key);
        EXPECT_EQ(statuses(result), std::vector<Status>(4, Status::Damaged));
        EXPECT_EQ(result.parts[0].detail, "checksum does not match: damaged, or a wrong key");
    }
}

TEST_F(SetCheckerTest, SetsOfMoreThanAHundredParts) {
    splitSet(102);
    const SetChecker::Result result = SetChecker::check(folder.file("my_song101.ppt"), "");
    EXPECT_TRUE(result.sound());
    EXPECT_EQ(result.partCount, 102u);
    EXPECT_EQ(result.parts.back().path, folder.file("my_song101.ppt"));

    fs::remove(folder.file("my_song100.ppt"));
    const SetChecker::Result gap = SetChecker::check(folder.file("my_song101.ppt"), "");
    ASSERT_EQ(gap.parts.size(), 102u);
    EXPECT_EQ(gap.parts[100].path, folder.file("my_song100.ppt"));
    EXPECT_EQ(gap.parts[100].status, Status::Missing);
    EXPECT_EQ(gap.parts[101].status, Status::Ok);
}

// The count has no checksum: a count damaged in every part is caught where it can be.
TEST_F(SetCheckerTest, DamagedCounts) {
    splitSet();
    // Too small: part 5 still carries the set's name.
    for (int i = 0; i < 6; ++i) {
        auto bytes = FileBytes::read(part(i));
        bytes[15] = 5;
        FileBytes::write(part(i), bytes);
    }
    SetChecker::Result result = SetChecker::check(part(0), "");
    ASSERT_EQ(result.parts.size(), 6u);
    EXPECT_EQ(result.parts[5].status, Status::Foreign);
    EXPECT_EQ(result.parts[5].detail, "carries the set's name but lies beyond its 5 parts");
    EXPECT_FALSE(result.sound());

    // Huge: the missing rest comes as one run, not one line each.
    for (int i = 0; i < 6; ++i) {
        auto bytes = FileBytes::read(part(i));
        std::fill(bytes.begin() + 15, bytes.begin() + 19, 0xFF);
        FileBytes::write(part(i), bytes);
    }
    result = SetChecker::check(part(0), "");
    ASSERT_EQ(result.parts.size(), 7u);
    EXPECT_EQ(result.parts[6].status, Status::Missing);
    EXPECT_EQ(result.parts[6].run, 0xFFFFFFFFull - 6);
    EXPECT_EQ(result.parts[6].lastPath, folder.file("my_song4294967294.ppt"));

    auto bytes = FileBytes::read(part(0));
    std::fill(bytes.begin() + 15, bytes.begin() + 19, 0);
    FileBytes::write(part(0), bytes);
    result = SetChecker::check(part(0), "");
    EXPECT_EQ(result.kind, SetChecker::Kind::None);
    EXPECT_EQ(result.parts.at(0).detail, "part count 0");
}

TEST_F(SetCheckerTest, ClassicSetsAndSingleFiles) {
    const auto source = FileBytes::pattern(2500, 7);
    PartSetBuilder::writeClassicSet(folder.file("song.s00"), "song.mp3", source, 1000, 3, "k");
    EXPECT_TRUE(SetChecker::check(folder.file("song.s01"), "k").sound());
    fs::remove(folder.file("song.s02"));
    EXPECT_EQ(statuses(SetChecker::check(folder.file("song.s00"), "k")),
              (std::vector<Status>{Status::Ok, Status::Ok, Status::Missing}));

    FileBytes::write(folder.file("a.old"), PartSetBuilder::oldFile("Title", "Artist", source));
    const SetChecker::Result old = SetChecker::check(folder.file("a.old"), "");
    EXPECT_TRUE(old.sound());
    EXPECT_EQ(old.kind, SetChecker::Kind::Old);
    EXPECT_EQ(old.name, "Artist - Title.mp3");

    FileBytes::write(folder.file("b.enc"), PartSetBuilder::encFile("A", "B", source));
    EXPECT_EQ(SetChecker::check(folder.file("b.enc"), "").kind, SetChecker::Kind::Enc);

    EXPECT_EQ(statuses(SetChecker::check(folder.file("none.ppt"), "")), std::vector<Status>{Status::Missing});
    EXPECT_EQ(statuses(SetChecker::check(folder.file(""), "")), std::vector<Status>{Status::Unreadable});
    EXPECT_FALSE(SetChecker::check(folder.file("none.ppt"), "").sound());
}
