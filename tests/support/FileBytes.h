#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whole-file reads and writes for tests, and reproducible test data.
class FileBytes {
public:
    static std::vector<std::uint8_t> read(const std::string& path);
    static std::string readText(const std::string& path);
    static void write(const std::string& path, const std::vector<std::uint8_t>& bytes);
    static void writeText(const std::string& path, const std::string& text);
    // length bytes from a fixed-seed generator: the same for the same seed in every run.
    static std::vector<std::uint8_t> pattern(std::size_t length, unsigned seed = 1);
    static bool exists(const std::string& path);
};
