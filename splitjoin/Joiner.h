#pragma once

#include "base/Progress.h"
#include "splitjoin/JoinValues.h"
#include "splitjoin/PartCheck.h"

#include <functional>
#include <string>
#include <vector>

class CCode;
class FileHandle;
class MessageBoxSink;
class StatusSink;
class WriteBehind;

// Puts a set of parts back together from any one of them, checking each part's structure,
// number, length and checksum; also rebuilds the older OLD and ENC single files. The rebuilt file
// takes its name only when every part checked out. Texts go to the status sink, the missing-part
// and checksum messages also to the message box sink; a read or write error in the middle of a
// join, and a part that cannot be deleted, throw FileError.
class Joiner {
public:
    using PartDeleted = std::function<void(const std::string& path)>;

    Joiner(StatusSink& status, MessageBoxSink& messageBox);

    JoinValues& values() { return values_; }
    const JoinValues& values() const { return values_; }
    std::string outputPath() const;
    void setProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
    void setPartDeletedCallback(PartDeleted callback) { partDeleted_ = std::move(callback); }

    // The user picked a file (empty: none): reads its header and looks for its set.
    void PickPart(const std::string& path);
    // Recognises the input part and proposes the output name; false when it is no part.
    bool ReadHeader();
    // Checks that every part of a "CCode" set exists.
    bool FindParts();
    // The whole join; true when the rebuilt file is in place (and the parts deleted if asked).
    bool Join();

private:
    enum class HeaderResult { Part, Unreadable, Unknown, Refused };
    HeaderResult readHeader();
    HeaderResult acceptHeader(const CCode& record);
    HeaderResult acceptLegacy(const std::vector<std::uint8_t>& head, std::uint64_t fileSize);
    std::string partPath(std::uint64_t index) const;
    std::vector<std::string> setPaths() const;
    bool refuseJoin();
    bool refuseWrongCount(const CCode& record);
    void reportForeignPart(const std::string& path);
    bool refusePartBeyondCount();
    bool joinParts(FileHandle& output, std::vector<std::string>& opened);
    bool joinPart(WriteBehind& output, FileHandle& part, std::uint64_t index, std::uint64_t& bytesDone,
                  std::uint64_t bytesTotal);
    bool joinLegacy(FileHandle& output, std::vector<std::string>& opened);
    void deleteParts(const std::vector<std::string>& opened);
    void reportMissing(const std::string& path);

    StatusSink& status_;
    MessageBoxSink& messageBox_;
    JoinValues values_;
    PartCheck::SetSignature set_; // of the picked part; every part of its set must match it
    std::string pickedPart_; // as picked, before a Geo set's path turns into part 0's
    ProgressCallback progress_;
    PartDeleted partDeleted_;
};
