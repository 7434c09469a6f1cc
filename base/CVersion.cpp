#include "base/CVersion.h"

#include <array>

CVersion::CVersion(const VersionBlock* module, std::string languageCodePage)
    : languageCodePage_(std::move(languageCodePage)) {
    const VersionBlock& block = module ? *module : VersionBlock::program();
    if (!block.empty()) versionData_ = block;
}

std::string CVersion::keyName(int index) {
    static const std::array<const char*, 12> keys = {
        "Comments",        "CompanyName",      "FileDescription", "FileVersion",
        "InternalName",    "LegalCopyright",   "LegalTrademarks", "OriginalFilename",
        "ProductName",     "ProductVersion",   "PrivateBuild",    "SpecialBuild"};
    return index >= 0 && index < static_cast<int>(keys.size()) ? keys[static_cast<std::size_t>(index)] : "";
}

std::string CVersion::GetVersionString(int index) const {
    if (!versionData_) return {};
    const std::string key = keyName(index);
    if (key.empty()) return {};
    return versionData_->query("\\StringFileInfo\\" + languageCodePage_ + "\\" + key).value_or("");
}
