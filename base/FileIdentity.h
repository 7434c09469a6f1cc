#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Which file a path names, so that two spellings of one file (or two hard links) compare equal.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    // Empty when nothing exists under the path.
    static std::optional<FileIdentity> of(const std::string& path);
    bool operator==(const FileIdentity&) const = default;
};
