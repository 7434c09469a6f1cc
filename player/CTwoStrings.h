#pragma once

#include <string>

// One entry of the Player's queue.
struct CTwoStrings {
    std::string display;   // what the playlist box shows
    std::string location;  // a file path or an "http://" URL
    bool operator==(const CTwoStrings&) const = default;
};
