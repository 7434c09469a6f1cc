#pragma once

#include "base/VersionBlock.h"

#include <optional>
#include <string>

// Reads the standard string values of one string table ("040904b0") of a version block.
class CVersion {
public:
    enum VersionKey {
        Comments, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        LegalTrademarks, OriginalFilename, ProductName, ProductVersion, PrivateBuild, SpecialBuild
    };

    // module null means the program itself. A module without a block answers every query empty.
    CVersion(const VersionBlock* module, std::string languageCodePage);

    // The value of the key with that index, or empty when the key or the value is missing.
    std::string GetVersionString(int index) const;
    // The key name of the index; empty for an index that names no key.
    static std::string keyName(int index);

private:
    std::optional<VersionBlock> versionData_;
    std::string languageCodePage_;
};
