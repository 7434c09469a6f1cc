#pragma once

#include "splitjoin/CCode.h"
#include "splitjoin/PartData.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FileHandle;

// The rules a part must meet to count as part number i of a set: a sound header, its own number,
// the set's count, flags and name, data that fits the file, and data that sums to its checksum.
// The joiner and the set check both go by these rules, so that a set the check calls sound joins.
class PartCheck {
public:
    // What every part of one set has in common: the count, the flags and the stored name.
    struct SetSignature {
        std::uint32_t partCount = 0;
        std::uint32_t flags = 0;
        std::string name;
        static SetSignature of(const CCode& record);
        bool operator==(const SetSignature&) const = default;
    };

    // A header no writer makes: a set of no parts, or a part numbered at or beyond its count.
    enum class CountFault { None, NoParts, IndexBeyondCount };
    static CountFault countFault(const CCode& record);

    // Whether the file at path, the name of the part numbered just past the count, is a part that
    // carries the set's own name and flags: the count is then too small in every part, and the
    // file would be cut short. False when there is no such file or it is no part.
    static bool claimsPlaceBeyondCount(const std::string& path, const SetSignature& set,
                                       const std::string& userKey);

    // CutShort: the file starts as a part but ends before its header or its data does.
    enum class Verdict { Sound, WrongStructure, CutShort, WrongIndex, Foreign, WrongLength, ChecksumMismatch };
    struct Result {
        Verdict verdict = Verdict::WrongStructure;
        CCode record; // the header as read, when there was one
    };
    // Reads an open part from its start and checks it as part `index` of `set`, deciphering with
    // the user key. Throws FileError on a read error. The first only sums the data, in `buffer`;
    // the second hands the plain data on to the destination chunk by chunk while it is summed, so
    // a part that fails its checksum has already handed its data on.
    static Result check(FileHandle& part, std::uint64_t index, const SetSignature& set,
                        const std::string& userKey, std::vector<std::uint8_t>& buffer);
    static Result check(FileHandle& part, std::uint64_t index, const SetSignature& set,
                        const std::string& userKey, PartData::Destination& destination);
    // The first bytes of an open file, as many as any kind of part header (a part's, an OLD or
    // an ENC file's) may need.
    static std::vector<std::uint8_t> readHead(FileHandle& file, std::uint64_t fileSize);

private:
    // The rules above with the data summed by sumData.
    static Result checkWith(FileHandle& part, std::uint64_t index, const SetSignature& set, const std::string& userKey,
                            const std::function<std::uint32_t(const CCode& record)>& sumData);
    static Verdict headerVerdict(FileHandle& part, const std::string& userKey, CCode& record);
};
