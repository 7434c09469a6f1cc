#include "base/VersionBlock.h"

std::optional<std::string> VersionBlock::query(const std::string& path) const {
    const auto found = values_.find(path);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}
