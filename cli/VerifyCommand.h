#pragma once

#include <string>
#include <vector>

// quarvel-cli verify: checks a set of parts from any one of them, writing nothing.
class VerifyCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
