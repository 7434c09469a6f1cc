#include "base/FileError.h"

#include <cstring>

FileError::FileError(std::string path, int errorNumber)
    : std::runtime_error(describe(errorNumber)), path_(std::move(path)), errorNumber_(errorNumber) {}

std::string FileError::describe(int errorNumber) {
    if (errorNumber == NotRegularFile) return "Not a regular file";
    char buffer[256];
    // GNU strerror_r returns a pointer that may or may not be our buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}
