#include "transfer/UploadRequest.h"

#include <cstdlib>
#include <filesystem>

std::string UploadRequest::userKnownHostsFile() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    const std::string path = std::string(home) + "/.ssh/known_hosts";
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}
