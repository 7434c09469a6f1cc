#pragma once

#include <string>
#include <vector>

// quarvel-cli tag: writes an MP3 file's tags as the Player's "Write ID3 Tag" does.
class TagCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
