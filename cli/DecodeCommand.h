#pragma once

#include <string>
#include <vector>

// quarvel-cli decode: plays an MP3 file or stream through the playback component into a WAV file.
class DecodeCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
