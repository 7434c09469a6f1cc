#include "splitjoin/SetChecker.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/TextFormat.h"
#include "splitjoin/CCode.h"
#include "splitjoin/LegacyPart.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartNaming.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>

namespace {

using Status = SetChecker::Status;
using PartResult = SetChecker::PartResult;

PartResult verdict(const std::string& path, Status status, std::string detail = {}) {
    return {path, status, std::move(detail), 1, {}};
}

// A file that cannot be opened is missing when nothing is there, else unreadable.
PartResult notOpened(const std::string& path, int errorNumber) {
    if (errorNumber == ENOENT) return verdict(path, Status::Missing);
    return verdict(path, Status::Unreadable, FileError::describe(errorNumber));
}

std::string checksumDetail(const CCode& record) {
    if (record.flagsAsRead & CCode::DataEnciphered) return "checksum does not match: damaged, or a wrong key";
    return "checksum does not match";
}

// Every part name of a set is a fixed prefix, the number with at least two digits, and a fixed
// suffix: the two are what part 0's and part 1's names share.
struct NameShape {
    std::string prefix;
    std::string suffix;

    NameShape(const std::string& partZero, bool geo) {
        const std::string zero(PartNaming::fileName(PartNaming::partPath(partZero, 0, geo)));
        const std::string one(PartNaming::fileName(PartNaming::partPath(partZero, 1, geo)));
        std::size_t shared = 0;
        while (shared < zero.size() && zero[zero.size() - 1 - shared] == one[one.size() - 1 - shared]) ++shared;
        suffix = zero.substr(zero.size() - shared);
        prefix = zero.substr(0, zero.size() - shared - 2);
    }

    // The part number a file name stands for, when it is one of the set's names.
    std::optional<std::uint64_t> indexOf(std::string_view name) const {
        if (name.size() < prefix.size() + suffix.size() + 2 || !name.starts_with(prefix) || !name.ends_with(suffix))
            return std::nullopt;
        const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        std::uint64_t index = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (error != std::errc() || end != digits.data() + digits.size() || PartNaming::number(index) != digits)
            return std::nullopt;
        return index;
    }
};

} // namespace

bool SetChecker::Result::sound() const {
    return kind != Kind::None && !parts.empty() &&
           std::all_of(parts.begin(), parts.end(), [](const PartResult& part) { return part.status == Status::Ok; });
}

std::string SetChecker::line(const PartResult& part) {
    std::string text(PartNaming::fileName(part.path));
    if (part.run > 1) text += " to " + std::string(PartNaming::fileName(part.lastPath));
    text += ": ";
    text += label(part.status);
    if (part.run > 1) text += " (" + std::to_string(part.run) + " parts)";
    else if (!part.detail.empty()) text += " (" + part.detail + ")";
    return text;
}

std::string_view SetChecker::label(Status status) {
    switch (status) {
    case Status::Ok: return "OK";
    case Status::Missing: return "missing";
    case Status::Damaged: return "damaged";
    case Status::Foreign: return "foreign";
    case Status::Unreadable: return "unreadable";
    }
    return "unreadable";
}

SetChecker::Result SetChecker::check(const std::string& pickedPath, const std::string& userKey) {
    const std::string key = userKey.substr(0, CCode::MaxUserKeyLength);
    Result result;
    FileHandle picked;
    if (!picked.open(pickedPath, FileHandle::Mode::Read)) {
        result.parts.push_back(notOpened(pickedPath, picked.errorNumber()));
        return result;
    }
    const std::uint64_t fileSize = picked.size();
    const std::vector<std::uint8_t> head = PartCheck::readHead(picked, fileSize);
    CCode record;
    record.userKey = key;
    if (record.loadHeader(head, fileSize)) return checkSet(pickedPath, record, key);
    const LegacyPart::Info legacy = LegacyPart::identify(head, fileSize);
    if (legacy.kind != LegacyPart::Kind::None && legacy.payloadOffset <= fileSize) {
        result.kind = legacy.kind == LegacyPart::Kind::Old ? Kind::Old : Kind::Enc;
        result.name = NameSanitizer::plainFileName(LegacyPart::proposedName(legacy));
        result.partCount = 1;
        result.parts.push_back(verdict(pickedPath, Status::Ok));
    } else if (CCode::startsWithClassRecord(head)) {
        result.parts.push_back(verdict(pickedPath, Status::Damaged, "cut short"));
    } else {
        result.parts.push_back(verdict(pickedPath, Status::Unreadable, "not a part file"));
    }
    return result;
}

SetChecker::Result SetChecker::checkSet(const std::string& pickedPath, const CCode& picked, const std::string& key) {
    Result result;
    if (picked.flagsAsRead > CCode::KnownFlags) {
        result.parts.push_back(verdict(pickedPath, Status::Damaged, TextFormat::format("unknown flags: %u", picked.flagsAsRead)));
        return result;
    }
    switch (PartCheck::countFault(picked)) {
    case PartCheck::CountFault::NoParts:
        result.parts.push_back(verdict(pickedPath, Status::Damaged, "part count 0"));
        return result;
    case PartCheck::CountFault::IndexBeyondCount:
        result.parts.push_back(verdict(pickedPath, Status::Damaged,
            TextFormat::format("part number %u of a set of %u", picked.partIndex, picked.partCount)));
        return result;
    case PartCheck::CountFault::None:
        break;
    }
    result.kind = Kind::Set;
    result.name = NameSanitizer::plainFileName(picked.name());
    result.partCount = picked.partCount;
    const PartCheck::SetSignature set = PartCheck::SetSignature::of(picked);
    const bool geo = (picked.flagsAsRead & CCode::GeoNaming) != 0;
    // From part 100 on the number has three digits: the set's names come from part 0's path.
    const std::string partZero = geo ? PartNaming::geoPartZeroPath(pickedPath, picked.partIndex) : pickedPath;
    std::vector<std::uint8_t> buffer;
    std::uint64_t next = 0; // the first number not yet reported
    const auto report = [&](std::uint64_t index) {
        PartResult part = checkPart(PartNaming::partPath(partZero, index, geo), index, set, key, buffer);
        if (part.status == Status::Missing) return; // gone since the folder was listed: joins the run
        addMissing(result, partZero, geo, next, index);
        result.parts.push_back(std::move(part));
        next = index + 1;
    };
    if (const auto present = presentIndices(partZero, geo, picked.partCount)) {
        for (std::uint64_t index : *present) report(index);
    } else {
        for (std::uint64_t index = 0; index < picked.partCount; ++index) report(index);
    }
    addMissing(result, partZero, geo, next, picked.partCount);
    if (auto beyond = partBeyondCount(partZero, geo, set, key)) result.parts.push_back(std::move(*beyond));
    return result;
}

void SetChecker::addMissing(Result& result, const std::string& partZero, bool geo, std::uint64_t first,
                            std::uint64_t end) {
    if (end <= first) return;
    if (end - first > LongestListedMissingRun) {
        PartResult run = verdict(PartNaming::partPath(partZero, first, geo), Status::Missing);
        run.run = end - first;
        run.lastPath = PartNaming::partPath(partZero, end - 1, geo);
        result.parts.push_back(std::move(run));
        return;
    }
    for (std::uint64_t index = first; index < end; ++index)
        result.parts.push_back(verdict(PartNaming::partPath(partZero, index, geo), Status::Missing));
}

PartResult SetChecker::checkPart(const std::string& path, std::uint64_t index, const PartCheck::SetSignature& set,
                                 const std::string& key, std::vector<std::uint8_t>& buffer) {
    FileHandle part;
    if (!part.open(path, FileHandle::Mode::Read)) return notOpened(path, part.errorNumber());
    const PartCheck::Result checked = PartCheck::check(part, index, set, key, buffer);
    const CCode& record = checked.record;
    switch (checked.verdict) {
    case PartCheck::Verdict::Sound: return verdict(path, Status::Ok);
    case PartCheck::Verdict::WrongStructure: return verdict(path, Status::Unreadable, "not a part file");
    case PartCheck::Verdict::CutShort: return verdict(path, Status::Damaged, "cut short");
    case PartCheck::Verdict::WrongIndex:
        return verdict(path, Status::Damaged, TextFormat::format("holds part number %u", record.partIndex));
    case PartCheck::Verdict::Foreign: {
        const char* what = record.name() != set.name ? "another name"
                           : record.partCount != set.partCount ? "another part count" : "other flags";
        return verdict(path, Status::Foreign, std::string("belongs to another set: ") + what);
    }
    case PartCheck::Verdict::WrongLength: return verdict(path, Status::Damaged, "wrong data length");
    case PartCheck::Verdict::ChecksumMismatch: return verdict(path, Status::Damaged, checksumDetail(record));
    }
    return verdict(path, Status::Unreadable);
}

std::optional<PartResult> SetChecker::partBeyondCount(const std::string& partZero, bool geo,
                                                      const PartCheck::SetSignature& set, const std::string& key) {
    const std::string path = PartNaming::partPath(partZero, set.partCount, geo);
    if (!PartCheck::claimsPlaceBeyondCount(path, set, key)) return std::nullopt;
    return verdict(path, Status::Foreign,
                   TextFormat::format("carries the set's name but lies beyond its %u parts", set.partCount));
}

std::optional<std::vector<std::uint64_t>> SetChecker::presentIndices(const std::string& partZero, bool geo,
                                                                     std::uint64_t count) {
    const NameShape shape(partZero, geo);
    const std::string_view folder = PartNaming::folder(partZero);
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? std::string(".") : std::string(folder), error);
    if (error) return std::nullopt;
    std::vector<std::uint64_t> present;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const auto index = shape.indexOf(entries->path().filename().string());
        if (index && *index < count) present.push_back(*index);
    }
    if (error) return std::nullopt;
    std::sort(present.begin(), present.end());
    return present;
}
