#include "splitjoin/PartCheck.h"

#include "base/FileHandle.h"
#include "splitjoin/LegacyPart.h"

#include <algorithm>
#include <array>
#include <span>

PartCheck::SetSignature PartCheck::SetSignature::of(const CCode& record) {
    return {record.partCount, record.flagsAsRead, record.name()};
}

PartCheck::CountFault PartCheck::countFault(const CCode& record) {
    if (record.partCount == 0) return CountFault::NoParts;
    if (record.partIndex >= record.partCount) return CountFault::IndexBeyondCount;
    return CountFault::None;
}

bool PartCheck::claimsPlaceBeyondCount(const std::string& path, const SetSignature& set,
                                       const std::string& userKey) {
    FileHandle beyond;
    if (!beyond.open(path, FileHandle::Mode::Read)) return false;
    CCode record;
    return headerVerdict(beyond, userKey, record) == Verdict::Sound && record.name() == set.name &&
           record.flagsAsRead == set.flags;
}

std::vector<std::uint8_t> PartCheck::readHead(FileHandle& file, std::uint64_t fileSize) {
    std::vector<std::uint8_t> head(static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, std::max(LegacyPart::MaxHeadSize, CCode::HeaderSize))));
    head.resize(file.read(head.data(), head.size()));
    return head;
}

PartCheck::Verdict PartCheck::headerVerdict(FileHandle& part, const std::string& userKey, CCode& record) {
    std::array<std::uint8_t, CCode::HeaderSize> headerBytes{};
    const std::span<const std::uint8_t> header(headerBytes.data(), part.read(headerBytes.data(), headerBytes.size()));
    record.userKey = userKey;
    if (record.loadHeader(header, part.size())) return Verdict::Sound;
    return CCode::startsWithClassRecord(header) ? Verdict::CutShort : Verdict::WrongStructure;
}

PartCheck::Result PartCheck::check(FileHandle& part, std::uint64_t index, const SetSignature& set,
                                   const std::string& userKey, std::vector<std::uint8_t>& buffer) {
    return checkWith(part, index, set, userKey, [&](const CCode& record) { return PartData::pass(part, record, buffer); });
}

PartCheck::Result PartCheck::check(FileHandle& part, std::uint64_t index, const SetSignature& set,
                                   const std::string& userKey, PartData::Destination& destination) {
    return checkWith(part, index, set, userKey,
                     [&](const CCode& record) { return PartData::pass(part, record, destination); });
}

PartCheck::Result PartCheck::checkWith(FileHandle& part, std::uint64_t index, const SetSignature& set,
                                       const std::string& userKey,
                                       const std::function<std::uint32_t(const CCode& record)>& sumData) {
    Result result;
    result.verdict = headerVerdict(part, userKey, result.record);
    if (result.verdict != Verdict::Sound) return result;
    const CCode& record = result.record;
    if (record.partIndex != index)
        result.verdict = Verdict::WrongIndex;
    else if (SetSignature::of(record) != set)
        result.verdict = Verdict::Foreign;
    else if (!record.announcesData(part.size()))
        result.verdict = Verdict::WrongLength;
    else
        result.verdict = sumData(record) == record.checksum ? Verdict::Sound : Verdict::ChecksumMismatch;
    return result;
}
