#include "platform/xaudio/OutputDevices.h"

#include <out123.h>

namespace {

void appendDevices(const char* driver, const char* label, std::vector<OutputDevice>& devices) {
    out123_handle* handle = out123_new();
    if (!handle) return;
    out123_param_int(handle, OUT123_ADD_FLAGS, OUT123_QUIET);
    char** names = nullptr;
    char** descriptions = nullptr;
    const int count = out123_devices(handle, driver, &names, &descriptions, nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string description = descriptions && descriptions[i] ? descriptions[i] : "";
        devices.push_back({driver, names[i], std::string(label) + ": " + names[i] +
                                                 (description.empty() ? "" : " (" + description + ")")});
    }
    if (count > 0) out123_stringlists_free(names, descriptions, count);
    out123_del(handle);
}

} // namespace

std::vector<OutputDevice> OutputDevices::list() {
    // The default tries the desktop's sound server first, then the sound card directly.
    std::vector<OutputDevice> devices{{"pulse,alsa,oss", "", "Default sound output"}};
    appendDevices("pulse", "PulseAudio", devices);
    appendDevices("alsa", "ALSA", devices);
    return devices;
}
