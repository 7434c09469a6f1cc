#pragma once

#include <string>
#include <vector>

// quarvel-cli devices: the sound devices that 'play --device N' and the Player offer.
class DevicesCommand {
public:
    static int run(const std::vector<std::string>& arguments);
    static const char* usage();
};
