#pragma once

#include <string>
#include <vector>

// quarvel-cli play: plays an MP3 file or stream on a sound device until its end or Ctrl+C.
class PlayCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
