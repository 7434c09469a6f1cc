#pragma once

#include <string>
#include <vector>

// quarvel-cli join: the Decoder's join from any part of a set, or from an OLD or ENC file.
class JoinCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
