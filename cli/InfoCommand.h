#pragma once

#include <string>
#include <vector>

// quarvel-cli info: what a file is.
class InfoCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
