#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The details of one file row of a module form's file list.
struct LVFILEDATA {
    std::string name;             // display name: the file name
    std::string sizeText;         // the size in bytes, in decimal
    std::string typeName;         // filled in by the window (MIME comment)
    std::string attributeLetters; // "R" for a file the user cannot write
    std::uint32_t fileAttributes = 0;
    std::uint64_t size = 0;       // 64-bit: files of 4 GiB and more show their real size
    std::time_t modified = 0;     // last write; the list shows it in the user's locale
    std::string path;             // full path
};
