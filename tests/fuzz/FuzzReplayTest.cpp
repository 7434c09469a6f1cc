// Feeds every stored input of every fuzz target to it once: the seed corpus and the inputs of
// past findings. A crash, a sanitizer report or a failed check of the target fails the test.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int replayJoinerInput(const std::uint8_t* data, std::size_t size);
extern "C" int replayId3Input(const std::uint8_t* data, std::size_t size);
extern "C" int replayMpegInput(const std::uint8_t* data, std::size_t size);
extern "C" int replayPlaylistInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name; // the folder name under corpus/ and regressions/
    int (*run)(const std::uint8_t*, std::size_t);
};

std::vector<fs::path> inputsOf(const std::string& folder) {
    std::vector<fs::path> inputs;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

// The test names show the target's name, not the bytes of the record.
void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }

class FuzzReplayTest : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplayTest, EveryStoredInputPasses) {
    const Target target = GetParam();
    const std::string fuzz = QUARVEL_FUZZ_FOLDER;
    const auto corpus = inputsOf(fuzz + "/corpus/" + target.name);
    EXPECT_FALSE(corpus.empty()) << "no seed corpus for " << target.name;
    auto inputs = inputsOf(fuzz + "/regressions/" + target.name);
    inputs.insert(inputs.end(), corpus.begin(), corpus.end());
    for (const fs::path& input : inputs) {
        // A failing check aborts the program: the last name printed is the input that failed.
        std::cerr << "replaying " << input.string() << std::endl;
        std::ifstream in(input, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0) << input;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest,
                         testing::Values(Target{"joiner", replayJoinerInput}, Target{"id3", replayId3Input},
                                         Target{"mpeg", replayMpegInput}, Target{"playlist", replayPlaylistInput}),
                         [](const testing::TestParamInfo<Target>& target) { return std::string(target.param.name); });

} // namespace
