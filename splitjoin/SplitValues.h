#pragma once

#include "splitjoin/SplitSize.h"

#include <cstdint>
#include <string>

// The values of the Encoder form that a split works on.
struct SplitValues {
    std::string sourcePath;
    std::string sourceFileName; // the source path after its last separator
    std::string sourceStem;     // the source file name before its last dot
    std::string currentFolder;  // the source path before its last separator
    std::string outputFolder;
    std::string outputName;     // the file name of part 0, normally "<sanitised stem>00.ppt"
    SplitSize splitSize;        // "1.0 MB" until the user chooses another
    std::uint64_t payload = 0;   // data bytes per part
    std::uint64_t partCount = 0;
    bool cryptData = false;
    bool makePage = true;
    std::string userKey;        // at most 10 characters
    bool pageDate = false;
    std::string uploader;
    int style = 0;              // download page colour style
    std::string appDir;         // where "stylesheet.css" and "bottom.txt" are looked for
    bool ready = false;         // a split may be started
    bool pageDone = false;      // the last split wrote a page
    std::string pagePath;
};
