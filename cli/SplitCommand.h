#pragma once

#include <string>
#include <vector>

// quarvel-cli split: the Encoder's split with its defaults.
class SplitCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
