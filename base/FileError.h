#pragma once

#include <stdexcept>
#include <string>

// A read or write error in the middle of an operation (a full disk, a vanished medium).
// It ends the operation at once; the caller shows the system's description to the user.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, int errorNumber);

    const std::string& path() const { return path_; }
    int errorNumber() const { return errorNumber_; }
    // The system's own words for the error, as strerror gives them.
    std::string description() const { return what(); }

    static std::string describe(int errorNumber);

    // Our own error number for a name that is no regular file (a FIFO, a device, a socket):
    // opening one could block for ever or read without end, so it is refused.
    static constexpr int NotRegularFile = 100000;

private:
    std::string path_;
    int errorNumber_;
};
