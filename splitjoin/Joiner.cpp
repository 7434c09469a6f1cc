#include "splitjoin/Joiner.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/FileIdentity.h"
#include "base/MessageBoxSink.h"
#include "base/ReplacingFile.h"
#include "base/StatusSink.h"
#include "base/TextFormat.h"
#include "base/WriteBehind.h"
#include "splitjoin/CCode.h"
#include "splitjoin/JoinMessages.h"
#include "splitjoin/LegacyPart.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/PartType.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>
#include <unistd.h>

namespace {

// The texts of the local join alone; the rest are JoinMessages.
constexpr const char* kInputNotOpened = "Input file couldn't be opened";
constexpr const char* kInputNotOpenedDe = "Split-Datei konnte nicht geöffnet werden";
constexpr const char* kNothingToDecode = "Keine Datei zu decodieren";
constexpr const char* kOutputIsPart =
    "The output file is a part of the set: %s\r\nDie Ausgabedatei ist Teil des Sets: %s";
constexpr const char* kLegacyFailed =
    "File: %s could not be decoded\r\nDatei: %s konnte nicht decodiert werden";

bool exists(const std::string& path) { return FileIdentity::of(path).has_value(); }

} // namespace

Joiner::Joiner(StatusSink& status, MessageBoxSink& messageBox)
    : status_(status), messageBox_(messageBox) {}

std::string Joiner::outputPath() const {
    return PartNaming::join(values_.outputFolder, values_.outputName);
}

void Joiner::PickPart(const std::string& path) {
    values_.inputPart = path;
    values_.inputFolder = std::string(PartNaming::folder(path));
    values_.outputName.clear();
    values_.partCount = 0;
    status_.setStatus("");
    if (!values_.inputPart.empty()) ReadHeader();
}

bool Joiner::ReadHeader() { return readHeader() == HeaderResult::Part; }

Joiner::HeaderResult Joiner::readHeader() {
    FileHandle input;
    if (!input.open(values_.inputPart, FileHandle::Mode::Read)) {
        status_.setStatus(JoinMessages::twoLanguages(kInputNotOpened, kInputNotOpenedDe, input.errorNumber()));
        return HeaderResult::Unreadable;
    }
    const std::uint64_t fileSize = input.size();
    const std::vector<std::uint8_t> head = PartCheck::readHead(input, fileSize);
    // The part was only read: the handle closes it, and a close error changes nothing here.
    CCode record;
    record.userKey = values_.userKey.substr(0, CCode::MaxUserKeyLength);
    if (record.loadHeader(head, fileSize)) return acceptHeader(record);
    values_.partType = PartType::None;
    values_.partCount = 0;
    return acceptLegacy(head, fileSize);
}

Joiner::HeaderResult Joiner::acceptHeader(const CCode& record) {
    if (record.flagsAsRead > CCode::KnownFlags) {
        // Never written by this program: its type would read as ENC or OLD, so refuse it.
        values_.partType = PartType::None;
        values_.partCount = 0;
        status_.setStatus(JoinMessages::unknownFlags(values_.inputPart, record.flagsAsRead));
        return HeaderResult::Refused;
    }
    values_.partType = static_cast<int>(record.flagsAsRead);
    if (refuseWrongCount(record)) {
        values_.partCount = 0;
        values_.outputName.clear();
        return HeaderResult::Refused;
    }
    values_.partCount = record.partCount;
    set_ = PartCheck::SetSignature::of(record);
    pickedPart_ = values_.inputPart;
    // From part 100 on the number has three digits: the set's names come from part 0's path.
    if (PartType::usesGeoNaming(values_.partType))
        values_.inputPart = PartNaming::geoPartZeroPath(values_.inputPart, record.partIndex);
    if (values_.outputName.empty()) values_.outputName = NameSanitizer::plainFileName(record.name());
    if (!FindParts()) values_.outputName.clear();
    return HeaderResult::Part;
}

// The splitter never writes a set of no parts, nor a part numbered beyond its count: such a
// header is damaged, and joining by it would end the file early without a word.
bool Joiner::refuseWrongCount(const CCode& record) {
    const std::string refusal = JoinMessages::countFault(record, values_.inputPart);
    if (refusal.empty()) return false;
    status_.setStatus(refusal);
    return true;
}

// Every part must agree with the picked one on count, flags and name: a part of another set, or
// one whose count was damaged, would otherwise go into the file unnoticed (the count has no
// checksum).
void Joiner::reportForeignPart(const std::string& path) {
    status_.setStatus(JoinMessages::foreignPart(path, pickedPart_));
}

// A part numbered just past the count with the set's own name means the count is too small in
// every part: the file would be cut short.
bool Joiner::refusePartBeyondCount() {
    const std::string path = partPath(values_.partCount);
    if (!PartCheck::claimsPlaceBeyondCount(path, set_, values_.userKey)) return false;
    status_.setStatus(JoinMessages::beyondCount(path, values_.partCount));
    return true;
}

Joiner::HeaderResult Joiner::acceptLegacy(const std::vector<std::uint8_t>& head,
                                          std::uint64_t fileSize) {
    const LegacyPart::Info info = LegacyPart::identify(head, fileSize);
    if (info.kind == LegacyPart::Kind::None) {
        status_.setStatus(kNothingToDecode);
        return HeaderResult::Unknown;
    }
    values_.partType = info.kind == LegacyPart::Kind::Old ? PartType::Old : PartType::Enc;
    if (values_.outputName.empty())
        values_.outputName = NameSanitizer::plainFileName(LegacyPart::proposedName(info));
    return HeaderResult::Part;
}

bool Joiner::FindParts() {
    const bool geo = PartType::usesGeoNaming(values_.partType);
    bool complete = true;
    for (std::uint64_t i = geo ? 0 : 1; i < values_.partCount; ++i) {
        const std::string path = partPath(i);
        if (!exists(path)) {
            reportMissing(path);
            complete = false;
            break;
        }
    }
    if (geo) values_.inputPart = PartNaming::geoPartPath(values_.inputPart, 0);
    return complete;
}

void Joiner::reportMissing(const std::string& path) {
    values_.message = JoinMessages::missing(path);
    messageBox_.showStopBox(values_.message);
    status_.setStatus(values_.message);
}

std::string Joiner::partPath(std::uint64_t index) const {
    return PartNaming::partPath(values_.inputPart, index, PartType::usesGeoNaming(values_.partType));
}

std::vector<std::string> Joiner::setPaths() const {
    if (PartType::isLegacy(values_.partType)) return {values_.inputPart};
    std::vector<std::string> paths;
    for (std::uint64_t i = 0; i < values_.partCount; ++i) paths.push_back(partPath(i));
    return paths;
}

bool Joiner::Join() {
    values_.userKey = values_.userKey.substr(0, CCode::MaxUserKeyLength);
    const HeaderResult header = readHeader();
    if (header == HeaderResult::Unknown) status_.setStatus(JoinMessages::NotRecognised);
    if (header != HeaderResult::Part || refuseJoin()) return false;
    status_.setStatus(JoinMessages::Processing);
    ReplacingFile output;
    if (!output.create(outputPath())) {
        status_.setStatus(JoinMessages::outputNotCreated(output.errorNumber()));
        return false;
    }
    std::vector<std::string> opened; // newest first, as they are deleted
    const bool success = PartType::isLegacy(values_.partType) ? joinLegacy(output.file(), opened)
                                                               : joinParts(output.file(), opened);
    if (!success) return false;
    // Once the parts are about to go, the rebuilt file must be on the disk, not only in memory.
    output.commit(values_.autoDelete);
    if (values_.autoDelete) deleteParts(opened);
    status_.setStatus(JoinMessages::Ready);
    return true;
}

// Refusals before anything is written: no output name, or an output that would replace one of
// the files it is made from.
bool Joiner::refuseJoin() {
    if (values_.outputName.empty()) {
        status_.setStatus(JoinMessages::outputNotCreated(EISDIR));
        return true;
    }
    const std::string output = outputPath();
    const auto outputIdentity = FileIdentity::of(output);
    for (const std::string& part : setPaths()) {
        if (part == output || (outputIdentity && FileIdentity::of(part) == outputIdentity)) {
            status_.setStatus(TextFormat::format(kOutputIsPart, part.c_str(), part.c_str()));
            return true;
        }
    }
    return !PartType::isLegacy(values_.partType) && refusePartBeyondCount();
}

bool Joiner::joinParts(FileHandle& output, std::vector<std::string>& opened) {
    std::uint64_t bytesTotal = 0;
    for (const std::string& path : setPaths()) {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (!error && size > CCode::HeaderSize) bytesTotal += size - CCode::HeaderSize;
    }
    std::uint64_t bytesDone = 0;
    std::vector<std::uint8_t> chunks; // the writer's buffers, let go with it
    WriteBehind writer(output, chunks);
    for (std::uint64_t i = 0; i < values_.partCount; ++i) {
        const std::string path = partPath(i);
        FileHandle part;
        if (!part.open(path, FileHandle::Mode::Read)) {
            status_.setStatus(JoinMessages::cantOpenPart(path));
            return false;
        }
        opened.insert(opened.begin(), path);
        if (!joinPart(writer, part, i, bytesDone, bytesTotal)) return false;
    }
    writer.finish();
    return true;
}

// Checks one part and appends its data. The data is deciphered, summed and written chunk by
// chunk; a part that fails its checksum has written into the temporary file only.
bool Joiner::joinPart(WriteBehind& output, FileHandle& part, std::uint64_t index,
                      std::uint64_t& bytesDone, std::uint64_t bytesTotal) {
    const std::string& path = part.path();
    PartData::Destination destination{output, [&](std::size_t length) {
                                          bytesDone += length;
                                          if (progress_) progress_({index, values_.partCount, bytesDone, bytesTotal});
                                      }};
    const PartCheck::Result checked = PartCheck::check(part, index, set_, values_.userKey, destination);
    if (checked.verdict == PartCheck::Verdict::Sound) return true;
    const std::string refusal = JoinMessages::verdict(checked, path, pickedPart_);
    if (JoinMessages::needsStopBox(checked.verdict)) {
        values_.message = refusal;
        messageBox_.showStopBox(refusal);
    }
    status_.setStatus(refusal);
    // What the form shows goes with it: no type for a file that is no part, no output name for
    // a set that fails its checksum.
    if (checked.verdict == PartCheck::Verdict::WrongStructure || checked.verdict == PartCheck::Verdict::CutShort)
        values_.partType = PartType::None;
    if (checked.verdict == PartCheck::Verdict::ChecksumMismatch) values_.outputName.clear();
    return false;
}

bool Joiner::joinLegacy(FileHandle& output, std::vector<std::string>& opened) {
    const std::string& path = values_.inputPart;
    opened.insert(opened.begin(), path);
    FileHandle input;
    LegacyPart::Info info;
    std::uint64_t fileSize = 0;
    if (input.open(path, FileHandle::Mode::Read)) {
        fileSize = input.size();
        info = LegacyPart::identify(PartCheck::readHead(input, fileSize), fileSize);
    }
    const bool sameKind = info.kind == (values_.partType == PartType::Old ? LegacyPart::Kind::Old
                                                                         : LegacyPart::Kind::Enc);
    if (!input.isOpen() || !sameKind || info.payloadOffset > fileSize) {
        status_.setStatus(TextFormat::format(kLegacyFailed, path.c_str(), path.c_str()));
        return false;
    }
    const std::uint64_t payloadLength = fileSize - info.payloadOffset;
    std::vector<std::uint8_t> payload, source;
    try {
        payload.resize(static_cast<std::size_t>(payloadLength));
        source.resize(payload.size());
    } catch (const std::bad_alloc&) {
        status_.setStatus(TextFormat::format(kLegacyFailed, path.c_str(), path.c_str()));
        return false;
    }
    input.seek(info.payloadOffset);
    if (input.read(payload.data(), payload.size()) != payload.size()) throw FileError(path, EIO);
    LegacyPart::untranspose(payload.data(), source.data(), source.size());
    output.write(source.data(), source.size());
    if (progress_) progress_({0, 1, payloadLength, payloadLength});
    return true;
}

void Joiner::deleteParts(const std::vector<std::string>& opened) {
    for (const std::string& path : opened) {
        if (::unlink(path.c_str()) != 0) throw FileError(path, errno);
        if (partDeleted_) partDeleted_(path);
    }
}
