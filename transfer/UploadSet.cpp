#include "transfer/UploadSet.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "splitjoin/CCode.h"
#include "splitjoin/PartCheck.h"
#include "splitjoin/PartNaming.h"

#include <cerrno>
#include <filesystem>

namespace {

std::string shownName(const std::string& path) { return std::string(PartNaming::fileName(path)); }

// Reads a part's header. The name is deciphered with the default key: without the user's key it
// may come out garbled, but garbled alike in every part of the set, which is all the comparison needs.
bool readHeader(FileHandle& file, CCode& record) {
    const std::uint64_t size = file.size();
    return record.loadHeader(PartCheck::readHead(file, size), size) &&
           size == CCode::HeaderSize + std::uint64_t{record.dataLength};
}

std::string openProblem(const std::string& path, int errorNumber) {
    if (errorNumber == ENOENT) return shownName(path) + " is missing: the set is incomplete and was not uploaded";
    return shownName(path) + " can't be read: " + FileError::describe(errorNumber);
}

} // namespace

std::uint64_t UploadSet::totalSize() const {
    std::uint64_t total = 0;
    for (const File& file : files_) total += file.size;
    return total;
}

std::optional<UploadSet> UploadSet::find(const std::string& pickedPath, std::string& problem) {
    FileHandle picked;
    if (!picked.open(pickedPath, FileHandle::Mode::Read)) {
        problem = openProblem(pickedPath, picked.errorNumber());
        return std::nullopt;
    }
    CCode first;
    if (!readHeader(picked, first) || first.flagsAsRead > CCode::KnownFlags ||
        PartCheck::countFault(first) != PartCheck::CountFault::None) {
        problem = shownName(pickedPath) + " is not a sound part of a set: nothing was uploaded";
        return std::nullopt;
    }
    const PartCheck::SetSignature set = PartCheck::SetSignature::of(first);
    const bool geo = (first.flagsAsRead & CCode::GeoNaming) != 0;
    const std::string partZero = geo ? PartNaming::geoPartZeroPath(pickedPath, first.partIndex) : pickedPath;

    UploadSet result;
    for (std::uint32_t index = 0; index < set.partCount; ++index) {
        const std::string path = PartNaming::partPath(partZero, index, geo);
        FileHandle part;
        if (!part.open(path, FileHandle::Mode::Read)) {
            problem = openProblem(path, part.errorNumber());
            return std::nullopt;
        }
        CCode record;
        if (!readHeader(part, record)) {
            problem = shownName(path) + " is damaged, not a whole part file: the set was not uploaded";
            return std::nullopt;
        }
        if (record.partIndex != index || PartCheck::SetSignature::of(record) != set) {
            problem = shownName(path) + " is not part " + PartNaming::number(index) +
                      " of this set: the set was not uploaded";
            return std::nullopt;
        }
        result.files_.push_back({path, shownName(path), part.size()});
    }
    if (geo) {
        const std::string page = std::string(PartNaming::geoStem(partZero)) + ".html";
        std::error_code error;
        if (std::filesystem::is_regular_file(page, error)) {
            const std::uint64_t size = std::filesystem::file_size(page, error);
            if (!error) result.files_.push_back({page, shownName(page), size});
        }
    }
    return result;
}
