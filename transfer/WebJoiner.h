#pragma once

#include "base/Progress.h"
#include "splitjoin/PartCheck.h"
#include "transfer/ParallelDownloads.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class CCode;
class FileHandle;
class MessageBoxSink;
class StatusSink;
class WriteBehind;

// Puts a set back together straight from the web: from the address of any of its parts, or of
// the download page the splitter wrote beside them. Part 0 gives the count, name and flags; the
// other parts come up to four at a time, each into a hidden file beside the output until its turn,
// and every part is checked as a local join checks it (header, number, set, length and checksum,
// deciphered with the user key) while its data goes into the rebuilt file. The rebuilt file takes
// its name only when every part checked out; otherwise the failing part is named and nothing
// stays behind. No part is fetched beyond its header and the data it announces, so a server that
// sends more, or without end, cannot fill the disk. Texts go to the status sink, the missing-part
// and checksum messages also to the message box sink; a write error throws FileError.
class WebJoiner {
public:
    struct Request {
        std::string address;      // http://, https:// or ftp://
        std::string outputFolder;
        std::string outputName;   // empty: the name stored in the set
        std::string userKey;      // at most 10 characters
    };

    static constexpr std::size_t PartsAtOnce = 4;

    WebJoiner(StatusSink& status, MessageBoxSink& messageBox);
    ~WebJoiner();

    void setProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
    void setLimits(ParallelDownloads::Limits limits) { limits_ = limits; }
    // May be called from any thread: the join stops soon after, leaving nothing behind.
    void cancel() { cancelled_ = true; }

    // True when the rebuilt file is in place at outputPath().
    bool join(const Request& request);
    const std::string& outputPath() const { return outputPath_; }

private:
    struct Download;

    std::unique_ptr<Download> fetch(const std::string& address, std::uint64_t notAPart);
    std::unique_ptr<Download> newDownload(const std::string& address);
    ParallelDownloads::Finished download(Download& download, std::uint64_t limit, std::uint64_t notAPart);
    void boundByHead(ParallelDownloads& downloads, std::uint64_t notAPart);
    void reportFailedFetch(const ParallelDownloads::Finished& finished, const std::string& address);
    bool findPartZero(const std::string& address, std::unique_ptr<Download>& partZero);
    std::string partZeroFromPage(const std::string& pageAddress, Download& page);
    bool acceptPartZero(Download& partZero, CCode& record);
    bool refusePartBeyondCount();
    bool joinParts(Download& partZero, FileHandle& output);
    bool appendPart(Download& part, std::uint64_t index, WriteBehind& output);
    void reportProgress(std::uint64_t part);
    std::string partAddress(std::uint64_t index) const;
    std::string shown(const std::string& address) const;

    StatusSink& status_;
    MessageBoxSink& messageBox_;
    ProgressCallback progress_;
    ParallelDownloads::Limits limits_;
    std::atomic<bool> cancelled_{false};
    Request request_;
    std::string outputPath_;
    std::string partZeroAddress_;
    bool geo_ = true;
    PartCheck::SetSignature set_;
    std::uint64_t bytesDone_ = 0;
    std::uint64_t bytesTotal_ = 0;
};
