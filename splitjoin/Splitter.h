#pragma once

#include "base/Progress.h"
#include "splitjoin/CCode.h"
#include "splitjoin/SplitValues.h"

#include <string>
#include <vector>

class FileHandle;
class DownloadPage;
class StatusSink;

// Cuts one source file into a set of part files with Geo naming, optionally enciphered, and
// writes the download page while it goes. Texts go to the status sink; a read or write error in
// the middle of a split throws FileError.
class Splitter {
public:
    explicit Splitter(StatusSink& status);

    SplitValues& values() { return values_; }
    const SplitValues& values() const { return values_; }
    const CCode& header() const { return header_; }
    void setProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }

    // A file was chosen: derives the names and, when a split could start, counts the parts.
    void DeriveOutputName(const std::string& sourcePath);
    // Payload and part count from the source's size and the split size; completes an output
    // name without a dot. False, with a status text, when the source cannot be opened or the
    // split size cannot serve it.
    bool CountParts();
    void SetHeaderFlags();
    // The whole split. True when every part (and the page) was written.
    bool Split();

private:
    bool checkSizes(std::uint64_t sourceLength);
    bool refuseOverwritingSource(const std::string& outputPath);
    void writePart(FileHandle& source, FileHandle& part, std::vector<std::uint8_t>& chunks, std::uint64_t index,
                   std::uint64_t& bytesDone, std::uint64_t sourceLength);
    DownloadPage makePage() const;

    StatusSink& status_;
    SplitValues values_;
    CCode header_;
    ProgressCallback progress_;
};
