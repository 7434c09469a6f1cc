#include "splitjoin/JoinMessages.h"

#include "base/FileError.h"
#include "base/TextFormat.h"
#include "splitjoin/CCode.h"

namespace {

constexpr const char* kTwoLanguages = "%s\r\n%s\r\n\r\n%s\r\n%s";
constexpr const char* kOutputNotCreated = "Output file couldn't be created";
constexpr const char* kOutputNotCreatedDe = "Ausgabedatei kann nicht angelegt werden";
constexpr const char* kMissing = "Datei: %s fehlt\r\nFile: %s doesn't exist";
constexpr const char* kCantOpenPart = "Can't open input file: %s\r\nKann Split-Datei: %s nicht öffnen\r\n";
constexpr const char* kWrongStructure = "File: %s has wrong structure\r\nDatei: %s hat falsche Structure";
constexpr const char* kWrongPartNo =
    "File: %s has wrong part no: %u\r\nDatei: %s hat falsche Split Nummer: %u";
constexpr const char* kWrongLength = "File: %s has wrong length\r\nDatei: %s hat falsche Länge";
constexpr const char* kChecksum =
    "Checksum Fehler: %s\r\nOder CryptKey falsch\r\n\nChecksum error: %s\r\nor Cryptkey wrong";
constexpr const char* kUnknownFlags =
    "File: %s has unknown flags: %u\r\nDatei: %s hat unbekannte Flags: %u";
constexpr const char* kWrongCount =
    "File: %s has wrong part count: %u\r\nDatei: %s hat falsche Split Anzahl: %u";
constexpr const char* kForeignPart =
    "File: %s does not belong to the set of %s\r\nDatei: %s gehört nicht zum Set von %s";
constexpr const char* kBeyondCount =
    "File: %s belongs to the set but lies beyond its %u parts\r\n"
    "Datei: %s gehört zum Set, liegt aber hinter seinen %u Teilen";

// The texts that name the part twice, once in each language.
std::string aboutPart(const char* format, const std::string& part) {
    return TextFormat::format(format, part.c_str(), part.c_str());
}

std::string aboutPart(const char* format, const std::string& part, std::uint32_t number) {
    return TextFormat::format(format, part.c_str(), number, part.c_str(), number);
}

} // namespace

std::string JoinMessages::twoLanguages(const char* english, const char* german, int errorNumber) {
    const std::string description = FileError::describe(errorNumber);
    return TextFormat::format(kTwoLanguages, english, description.c_str(), german, description.c_str());
}

std::string JoinMessages::outputNotCreated(int errorNumber) {
    return twoLanguages(kOutputNotCreated, kOutputNotCreatedDe, errorNumber);
}

std::string JoinMessages::missing(const std::string& part) { return aboutPart(kMissing, part); }

std::string JoinMessages::cantOpenPart(const std::string& part) { return aboutPart(kCantOpenPart, part); }

std::string JoinMessages::wrongStructure(const std::string& part) { return aboutPart(kWrongStructure, part); }

std::string JoinMessages::unknownFlags(const std::string& part, std::uint32_t flags) {
    return aboutPart(kUnknownFlags, part, flags);
}

std::string JoinMessages::foreignPart(const std::string& part, const std::string& picked) {
    return TextFormat::format(kForeignPart, part.c_str(), picked.c_str(), part.c_str(), picked.c_str());
}

std::string JoinMessages::beyondCount(const std::string& part, std::uint32_t partCount) {
    return aboutPart(kBeyondCount, part, partCount);
}

std::string JoinMessages::countFault(const CCode& record, const std::string& part) {
    switch (PartCheck::countFault(record)) {
    case PartCheck::CountFault::NoParts:
        return aboutPart(kWrongCount, part, record.partCount);
    case PartCheck::CountFault::IndexBeyondCount:
        return aboutPart(kWrongPartNo, part, record.partIndex);
    case PartCheck::CountFault::None:
        break;
    }
    return {};
}

std::string JoinMessages::verdict(const PartCheck::Result& checked, const std::string& part,
                                  const std::string& picked) {
    switch (checked.verdict) {
    case PartCheck::Verdict::Sound:
        break;
    case PartCheck::Verdict::WrongStructure:
    case PartCheck::Verdict::CutShort:
        return wrongStructure(part);
    case PartCheck::Verdict::WrongIndex:
        return aboutPart(kWrongPartNo, part, checked.record.partIndex);
    case PartCheck::Verdict::Foreign:
        return foreignPart(part, picked);
    case PartCheck::Verdict::WrongLength:
        return aboutPart(kWrongLength, part);
    case PartCheck::Verdict::ChecksumMismatch:
        return aboutPart(kChecksum, part);
    }
    return {};
}
