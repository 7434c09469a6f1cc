#pragma once

#include <string>
#include <vector>

// quarvel-cli upload: sends a set of parts and its download page to a server.
class UploadCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
