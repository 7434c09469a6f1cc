#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the fuzz targets share: one private scratch folder per process (removed at exit), file
// helpers, the cutting of one input into several files, and the check that turns a wrong result
// into a finding.
class FuzzScratch {
public:
    // A fresh, empty folder for one target inside the process's scratch folder.
    static std::string freshFolder(const std::string& target);
    // The process's scratch folder, made under $TMPDIR (or /tmp) on first use.
    static const std::string& root();

    static void write(const std::string& path, std::string_view bytes);
    static std::string read(const std::string& path);
    static bool exists(const std::string& path);
    // The names of the regular files under a folder (recursively, relative, sorted).
    static std::vector<std::string> filesUnder(const std::string& folder);

    // Cuts the bytes at each separator, into at most maxPieces pieces (the last one keeps the rest).
    static std::vector<std::string_view> split(std::string_view bytes, std::string_view separator,
                                               std::size_t maxPieces);

    // Prints what failed and aborts, so that libFuzzer keeps the input and a replay fails.
    [[noreturn]] static void fail(const char* what, const char* file, int line);
};

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : FuzzScratch::fail(#condition, __FILE__, __LINE__))
