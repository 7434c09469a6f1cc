#pragma once

#include "splitjoin/PartCheck.h"

#include <cstdint>
#include <string>

class CCode;

// The texts a join shows, in English and German. A part is named as the join shows it: by its
// path in a local join, by its address in a join from the web. Both joins word the same event
// alike.
class JoinMessages {
public:
    static constexpr const char* Processing = "Please wait, processing\r\nBitte warten, decodiere\r\n";
    static constexpr const char* Ready = "\tReady\tFertig";
    static constexpr const char* NotRecognised =
        "Not a part file: nothing to join\r\nKeine Split-Datei: nichts zu decodieren";

    // A file error: each language's text followed by the system's description of the error.
    static std::string twoLanguages(const char* english, const char* german, int errorNumber);
    static std::string outputNotCreated(int errorNumber);
    static std::string missing(const std::string& part);
    // Ends in a line break, so that a reason may follow.
    static std::string cantOpenPart(const std::string& part);
    static std::string wrongStructure(const std::string& part);
    static std::string unknownFlags(const std::string& part, std::uint32_t flags);
    static std::string foreignPart(const std::string& part, const std::string& picked);
    static std::string beyondCount(const std::string& part, std::uint32_t partCount);
    // Why a header's count is refused; empty when there is no count fault.
    static std::string countFault(const CCode& record, const std::string& part);
    // Why a part failed its check; empty when it is sound. picked names the part that fixed the set.
    static std::string verdict(const PartCheck::Result& checked, const std::string& part, const std::string& picked);
    // The verdicts whose text the user must acknowledge, besides seeing it in the status line.
    static bool needsStopBox(PartCheck::Verdict verdict) { return verdict == PartCheck::Verdict::ChecksumMismatch; }
};
