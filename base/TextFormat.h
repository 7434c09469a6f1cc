#pragma once

#include <string>

// printf-style formatting into a std::string, for the program's texts that are given
// as printf patterns ("Part %d created").
class TextFormat {
public:
    [[gnu::format(printf, 1, 2)]] static std::string format(const char* pattern, ...);
};
