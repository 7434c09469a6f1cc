#pragma once

#include "shell/LVFILEDATA.h"

#include <optional>
#include <string>
#include <vector>

// The files of one folder as the file list shows them: no folders, no hidden (dot) files,
// optionally only names that contain a filter text.
class FolderListing {
public:
    enum class Column { Name, Size, Modified };
    static constexpr std::uint32_t ReadOnly = 1;

    // Empty when the folder cannot be read; an empty folder gives an empty list. The filter is
    // compared in lower case with the lower-cased name. Rows come in name order.
    static std::optional<std::vector<LVFILEDATA>> list(const std::string& folder, const std::string& filter);
    // The details of one file; empty when it cannot be examined.
    static std::optional<LVFILEDATA> details(const std::string& path);
    // Name ascending, size larger first, modified newer first; reversed when the flag is set.
    static void sort(std::vector<LVFILEDATA>& rows, Column column, bool reversed);
    // "Name", or "Name - Filter: *<filter>".
    static std::string nameTitle(const std::string& filter);
    static std::string lowerCase(std::string text);
};
