#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How far an upload has come: the file being sent and the whole set.
struct UploadProgress {
    std::size_t file = 0; // from 0
    std::size_t fileCount = 0;
    std::string fileName;
    std::uint64_t fileDone = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t setDone = 0;
    std::uint64_t setSize = 0;
};

// What the upload engine tells while it works. The calls come on the thread that runs the
// upload; a window hands them on to its own thread.
class UploadListener {
public:
    virtual ~UploadListener() = default;
    virtual void progress(const UploadProgress& progress) = 0;
    // A step worth a line: a file started, a connection lost and resumed, the sizes checked.
    virtual void status(const std::string& text) = 0;
    // Why the upload ended without success; called once, as the last call.
    virtual void failed(const std::string& message) = 0;
};
