#pragma once

#include <string>
#include <vector>

struct OutputDevice {
    std::string driver;      // one driver name, or a comma-separated list to try in turn
    std::string device;      // empty: the driver's default device
    std::string description; // what the device list shows
};

// The sound devices in a fixed order, so that an index names one device: the default output
// first, then the devices that PulseAudio and ALSA enumerate.
class OutputDevices {
public:
    static std::vector<OutputDevice> list();
};
