#pragma once

#include <map>
#include <optional>
#include <string>

// A program's version block: string values addressed by queries of the form
// "\StringFileInfo\<language and code page>\<key>". The program's own block is generated at
// build time from the project's version.
class VersionBlock {
public:
    VersionBlock() = default;
    explicit VersionBlock(std::map<std::string, std::string> values) : values_(std::move(values)) {}

    static const VersionBlock& program();

    bool empty() const { return values_.empty(); }
    std::optional<std::string> query(const std::string& path) const;

private:
    std::map<std::string, std::string> values_;
};
