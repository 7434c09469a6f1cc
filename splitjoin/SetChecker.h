#pragma once

#include "splitjoin/PartCheck.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Checks a set of parts from any one of them, reading only: every part the picked one names is
// opened and checked as the join checks it (header, number, count, flags, name, length and
// checksum, deciphered with the user key). An OLD or ENC file is checked as its own kind.
class SetChecker {
public:
    enum class Status { Ok, Missing, Damaged, Foreign, Unreadable };
    enum class Kind { None, Set, Old, Enc };

    struct PartResult {
        std::string path;
        Status status = Status::Ok;
        std::string detail;    // why, for every status but Ok and Missing
        std::uint64_t run = 1; // a long run of missing parts comes as one result, from path to lastPath
        std::string lastPath;
    };

    struct Result {
        Kind kind = Kind::None;
        std::string name; // the stored name of the rebuilt file, as a plain file name
        std::uint32_t partCount = 0;
        std::vector<PartResult> parts;
        // Every part there and sound, nothing beyond the count: the set joins.
        bool sound() const;
    };

    // Runs of more missing parts than this come as one result, so that a damaged count of
    // millions neither floods the report nor looks for every name.
    static constexpr std::uint64_t LongestListedMissingRun = 10;

    // Throws FileError only on a read error inside a file that opened.
    static Result check(const std::string& pickedPath, const std::string& userKey);
    static std::string_view label(Status status);
    // "my_song03.ppt: damaged (checksum does not match)"; a long run of missing parts in one line.
    static std::string line(const PartResult& part);

private:
    static Result checkSet(const std::string& pickedPath, const CCode& picked, const std::string& key);
    static void addMissing(Result& result, const std::string& partZero, bool geo, std::uint64_t first,
                           std::uint64_t end);
    static PartResult checkPart(const std::string& path, std::uint64_t index,
                                const PartCheck::SetSignature& set, const std::string& key,
                                std::vector<std::uint8_t>& buffer);
    static std::optional<PartResult> partBeyondCount(const std::string& partZero, bool geo,
                                                     const PartCheck::SetSignature& set,
                                                     const std::string& key);
    // The numbers below count of the files in part 0's folder named as parts of its set,
    // ascending; empty when the folder cannot be listed.
    static std::optional<std::vector<std::uint64_t>> presentIndices(const std::string& partZero, bool geo,
                                                                    std::uint64_t count);
};
