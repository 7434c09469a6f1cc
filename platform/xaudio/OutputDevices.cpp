#include "platform/xaudio/OutputDevices.h"

#include <out123.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// libout123 writes a failed connection to the PulseAudio server to stderr while it lists the
// server's devices, whatever its quiet flag says. Without a server named or a server socket in
// the usual places there is nobody to connect to, and the server is not asked at all.
bool pulseServerMayAnswer() {
    if (!environment("PULSE_SERVER").empty()) return true;
    std::vector<std::string> sockets;
    if (const std::string runtime = environment("PULSE_RUNTIME_PATH"); !runtime.empty()) sockets.push_back(runtime + "/native");
    if (const std::string runtime = environment("XDG_RUNTIME_DIR"); !runtime.empty()) sockets.push_back(runtime + "/pulse/native");
    sockets.push_back("/run/user/" + std::to_string(::getuid()) + "/pulse/native");
    sockets.push_back("/var/run/pulse/native");
    for (const std::string& socket : sockets)
        if (isSocket(socket)) return true;
    return false;
}

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
    if (pulseServerMayAnswer()) appendDevices("pulse", "PulseAudio", devices);
    appendDevices("alsa", "ALSA", devices);
    return devices;
}
