#include "fuzz/FuzzScratch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

void removeRoot() {
    std::error_code ignored;
    fs::remove_all(FuzzScratch::root(), ignored);
}

std::string makeRoot() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quarvel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("quarvel fuzz: no scratch folder");
        std::abort();
    }
    return pattern;
}

} // namespace

const std::string& FuzzScratch::root() {
    static const std::string folder = makeRoot();
    // Registered after the name exists, so that it runs before the name is destroyed.
    static const bool removedAtExit = std::atexit(removeRoot) == 0;
    (void)removedAtExit;
    return folder;
}

std::string FuzzScratch::freshFolder(const std::string& target) {
    const fs::path folder = fs::path(root()) / target;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder.string();
}

void FuzzScratch::write(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

std::string FuzzScratch::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FuzzScratch::exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> FuzzScratch::filesUnder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory()) names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string_view> FuzzScratch::split(std::string_view bytes, std::string_view separator,
                                                 std::size_t maxPieces) {
    std::vector<std::string_view> pieces;
    while (pieces.size() + 1 < maxPieces) {
        const std::size_t at = bytes.find(separator);
        if (at == std::string_view::npos) break;
        pieces.push_back(bytes.substr(0, at));
        bytes.remove_prefix(at + separator.size());
    }
    pieces.push_back(bytes);
    return pieces;
}

void FuzzScratch::fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
    std::fflush(stderr);
    std::abort();
}
