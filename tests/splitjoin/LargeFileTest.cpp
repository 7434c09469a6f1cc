#include "splitjoin/Joiner.h"
#include "splitjoin/Splitter.h"
#include "support/RecordingSinks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr std::uint64_t kLength = (4ull << 30) + 12'345; // past every 32-bit offset

void putMarker(std::fstream& file, std::uint64_t at, const std::string& marker) {
    file.seekp(static_cast<std::streamoff>(at));
    file << marker;
}

std::string readAt(const std::string& path, std::uint64_t at, std::size_t length) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(at));
    std::string text(length, '\0');
    file.read(text.data(), static_cast<std::streamsize>(length));
    return text;
}

} // namespace

// A sparse source over 4 GiB with markers around the 32-bit boundaries, split into 1 GB parts,
// enciphered, and joined back with the parts deleted as it goes.
TEST(LargeFile, SplitAndJoinPast4GiB) {
    TempFolder folder;
    const std::string sourcePath = folder.file("big.img");
    {
        std::ofstream create(sourcePath, std::ios::binary);
    }
    std::filesystem::resize_file(sourcePath, kLength);
    const std::vector<std::pair<std::uint64_t, std::string>> markers = {
        {0, "start"}, {(2ull << 30) - 2, "two-GiB"}, {(4ull << 30) - 3, "four-GiB"}, {kLength - 3, "end"}};
    {
        std::fstream file(sourcePath, std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [at, marker] : markers) putMarker(file, at, marker);
    }

    RecordingSinks sinks;
    Splitter splitter(sinks);
    splitter.values().splitSize = SplitSize::ofBytes(1'000'000'000);
    splitter.values().outputFolder = folder.path();
    splitter.values().makePage = false;
    splitter.values().cryptData = true;
    splitter.DeriveOutputName(sourcePath);
    EXPECT_EQ(splitter.values().partCount, 5u);
    ASSERT_TRUE(splitter.Split()) << sinks.lastStatus();
    std::filesystem::remove(sourcePath);

    Joiner joiner(sinks, sinks);
    joiner.values().outputFolder = folder.path();
    joiner.values().autoDelete = true;
    joiner.PickPart(folder.file("big03.ppt"));
    ASSERT_TRUE(joiner.Join()) << sinks.lastStatus();
    EXPECT_EQ(std::filesystem::file_size(sourcePath), kLength);
    for (const auto& [at, marker] : markers) EXPECT_EQ(readAt(sourcePath, at, marker.size()), marker);
    EXPECT_EQ(readAt(sourcePath, (3ull << 30), 4), std::string(4, '\0'));
}
