#include "support/FileBytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

std::vector<std::uint8_t> FileBytes::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string FileBytes::readText(const std::string& path) {
    const auto bytes = read(path);
    return {bytes.begin(), bytes.end()};
}

void FileBytes::write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void FileBytes::writeText(const std::string& path, const std::string& text) {
    write(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> FileBytes::pattern(std::size_t length, unsigned seed) {
    std::mt19937 generator(seed);
    std::vector<std::uint8_t> bytes(length);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
    return bytes;
}

bool FileBytes::exists(const std::string& path) { return std::filesystem::exists(path); }
