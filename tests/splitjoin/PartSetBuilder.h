#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes part files and the older single files the way other writers made them, for the
// joiner's tests.
class PartSetBuilder {
public:
    // A set in classic naming ("<stem>.s00", ".s01", ...) with the given flags (bit 2 clear).
    static void writeClassicSet(const std::string& firstPartPath, const std::string& sourceName,
                                const std::vector<std::uint8_t>& source, std::size_t payload,
                                std::uint32_t flags, const std::string& key = "");
    // The payload of an OLD or ENC file: the source transposed by the column order.
    static std::vector<std::uint8_t> transpose(const std::vector<std::uint8_t>& source);
    static std::vector<std::uint8_t> oldFile(const std::string& first, const std::string& second,
                                             const std::vector<std::uint8_t>& source);
    static std::vector<std::uint8_t> encFile(const std::string& field0, const std::string& field1,
                                             const std::vector<std::uint8_t>& source);
};
