#include "splitjoin/PartInfo.h"

#include "base/FileHandle.h"
#include "splitjoin/CCode.h"
#include "splitjoin/LegacyPart.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartCheck.h"
#include "splitjoin/PartData.h"
#include "splitjoin/PartType.h"

#include <vector>

std::optional<PartInfo> PartInfo::read(const std::string& path, const std::string& userKey,
                                       int& errorNumber) {
    FileHandle file;
    if (!file.open(path, FileHandle::Mode::Read)) {
        errorNumber = file.errorNumber();
        return std::nullopt;
    }
    const std::uint64_t fileSize = file.size();
    const std::vector<std::uint8_t> head = PartCheck::readHead(file, fileSize);

    PartInfo info;
    CCode record;
    record.userKey = userKey.substr(0, CCode::MaxUserKeyLength);
    if (record.loadHeader(head, fileSize)) {
        info.isPart = true;
        info.flags = record.flagsAsRead;
        info.type = record.flagsAsRead <= CCode::KnownFlags ? static_cast<int>(record.flagsAsRead) : PartType::None;
        info.index = record.partIndex;
        info.count = record.partCount;
        info.dataLength = record.dataLength;
        info.name = NameSanitizer::plainFileName(record.name());
        std::uint32_t sum = 0;
        if (record.announcesData(fileSize)) {
            std::vector<std::uint8_t> buffer;
            sum = PartData::pass(file, record, buffer);
        }
        info.checksumHolds = sum == record.checksum;
        return info;
    }
    const LegacyPart::Info legacy = LegacyPart::identify(head, fileSize);
    if (legacy.kind != LegacyPart::Kind::None) {
        info.isLegacy = true;
        info.type = legacy.kind == LegacyPart::Kind::Old ? PartType::Old : PartType::Enc;
        info.name = NameSanitizer::plainFileName(LegacyPart::proposedName(legacy));
    }
    return info;
}
