#include "splitjoin/Splitter.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/FileIdentity.h"
#include "base/ReplacingFile.h"
#include "base/StatusSink.h"
#include "base/TextFormat.h"
#include "base/WriteBehind.h"
#include "splitjoin/ByteSum.h"
#include "splitjoin/DownloadPage.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/SplitSize.h"
#include "splitjoin/XorCipher.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <new>

namespace {

constexpr const char* kInputNotOpened = "Input file couldn't be opened";
constexpr const char* kPageNotCreated = "Can't create HTML file : Aborted";
constexpr const char* kNoMemory = "Can't allocate memory: Aborted";
constexpr const char* kPartNotCreated = "Output file couldn't be created";
constexpr const char* kProcessing = "Please wait, processing";
constexpr const char* kPartCreated = "Part %llu created";
constexpr const char* kReady = "Ready, %llu files created";
constexpr const char* kAborted = "Aborted: %llu parts were written completely";
constexpr const char* kSizeUnreadable =
    "Split size must be a number of MB, or 0 for unsplit\r\n"
    "Split-Größe muss eine Zahl in MB sein, oder 0 für ungeteilt";
constexpr const char* kSizeTooSmall =
    "Split size too small: a part needs more than 178 bytes\r\n"
    "Split-Größe zu klein: ein Teil braucht mehr als 178 Bytes";
constexpr const char* kPartTooLarge =
    "A part can hold at most 4 GB: choose a smaller split size\r\n"
    "Ein Teil fasst höchstens 4 GB: kleinere Split-Größe wählen";
constexpr const char* kTooManyParts =
    "Too many parts: choose a larger split size\r\n"
    "Zu viele Teile: größere Split-Größe wählen";
constexpr const char* kWouldOverwriteSource =
    "The split would overwrite its own source: %s\r\n"
    "Der Split würde seine Quelldatei überschreiben: %s";

constexpr std::uint64_t kMaxField = std::numeric_limits<std::uint32_t>::max();

std::string withDescription(const char* text, int errorNumber) {
    return std::string(text) + "\r\n" + FileError::describe(errorNumber);
}

} // namespace

Splitter::Splitter(StatusSink& status) : status_(status) {}

void Splitter::DeriveOutputName(const std::string& sourcePath) {
    values_.sourcePath = sourcePath;
    values_.currentFolder = std::string(PartNaming::folder(sourcePath));
    values_.outputName.clear();
    values_.partCount = 0;
    status_.setStatus("");
    if (!sourcePath.empty()) {
        values_.sourceFileName = std::string(PartNaming::fileName(sourcePath));
        values_.sourceStem = values_.sourceFileName.substr(0, values_.sourceFileName.rfind('.'));
        values_.outputName = NameSanitizer::sanitizeStem(values_.sourceStem) + "00.ppt";
    }
    values_.ready = !values_.sourcePath.empty() && !values_.outputName.empty() &&
                    !values_.splitSize.text().empty();
    if (values_.ready) {
        CountParts();
        header_.flags |= CCode::GeoNaming;
    }
    values_.pageDone = false;
}

bool Splitter::CountParts() {
    FileHandle source;
    if (!source.open(values_.sourcePath, FileHandle::Mode::Read)) {
        status_.setStatus(withDescription(kInputNotOpened, source.errorNumber()));
        return false;
    }
    const std::uint64_t length = source.size();
    // Closed when the handle goes: an error the system reports for the close of a file that was
    // only read loses nothing.
    source = FileHandle();
    if (!checkSizes(length)) return false;
    const std::uint64_t splitSize = *values_.splitSize.bytes();
    if (splitSize != 0) {
        values_.payload = splitSize - SplitSize::Overhead;
        values_.partCount = length / values_.payload + (length % values_.payload != 0 ? 1 : 0);
    } else {
        values_.partCount = 1;
        values_.payload = length;
    }
    if (values_.outputName.find('.') == std::string::npos)
        values_.outputName += values_.outputName.find('0') == std::string::npos ? "00.ppt" : ".ppt";
    return true;
}

bool Splitter::checkSizes(std::uint64_t sourceLength) {
    const std::optional<std::uint64_t> splitSize = values_.splitSize.bytes();
    const char* refusal = nullptr;
    if (!splitSize)
        refusal = kSizeUnreadable;
    else if (*splitSize != 0 && *splitSize <= SplitSize::Overhead)
        refusal = kSizeTooSmall;
    else if (*splitSize == 0 ? sourceLength > kMaxField : *splitSize - SplitSize::Overhead > kMaxField)
        refusal = kPartTooLarge;
    else if (*splitSize != 0 && sourceLength / (*splitSize - SplitSize::Overhead) >= kMaxField)
        refusal = kTooManyParts;
    if (refusal) status_.setStatus(refusal);
    return refusal == nullptr;
}

void Splitter::SetHeaderFlags() {
    header_.flags = CCode::NameEnciphered | CCode::GeoNaming;
    if (values_.cryptData) header_.flags |= CCode::DataEnciphered;
    if (!values_.userKey.empty()) header_.flags |= CCode::UserKeyGiven;
    header_.userKey = values_.userKey.substr(0, CCode::MaxUserKeyLength);
}

bool Splitter::Split() {
    values_.ready = false;
    values_.pageDone = false;
    if (!CountParts()) return false;
    SetHeaderFlags();
    status_.setStatus(kProcessing);
    const std::string outputPath = PartNaming::join(values_.outputFolder, values_.outputName);
    if (refuseOverwritingSource(outputPath)) return false;

    DownloadPage page = makePage();
    if (values_.makePage) {
        const std::string pagePath = std::string(PartNaming::geoStem(outputPath)) + ".html";
        if (!page.create(pagePath)) {
            status_.setStatus(kPageNotCreated);
            return false;
        }
        values_.pagePath = pagePath;
        page.writeHead(values_.sourceStem);
    }

    FileHandle source;
    if (!source.open(values_.sourcePath, FileHandle::Mode::Read)) {
        status_.setStatus(withDescription(kInputNotOpened, source.errorNumber()));
        return false;
    }
    const std::uint64_t sourceLength = source.size();
    header_.partCount = static_cast<std::uint32_t>(values_.partCount);
    std::vector<std::uint8_t> chunks; // lent to each part's writer
    try {
        chunks.resize(WriteBehind::Buffers * WriteBehind::ChunkSize);
    } catch (const std::bad_alloc&) {
        status_.setStatus(kNoMemory);
        return false;
    }

    std::uint64_t bytesDone = 0;
    std::uint64_t complete = 0;
    // Once for all parts: listing the folder for each part would cost a set of many parts dearly.
    ReplacingFile::removeAbandonedIn(std::string(PartNaming::folder(outputPath)));
    try {
        for (std::uint64_t i = 0; i < values_.partCount; ++i) {
            const std::string partPath = PartNaming::geoPartPath(outputPath, i);
            // A part takes its name only when it is complete: a part that fails halfway is
            // removed, and a file of that name from before stays as it was.
            ReplacingFile part;
            if (!part.create(partPath, ReplacingFile::Leftovers::Keep)) {
                status_.setStatus(withDescription(kPartNotCreated, part.errorNumber()));
                return false;
            }
            writePart(source, part.file(), chunks, i, bytesDone, sourceLength);
            part.commit(false);
            ++complete;
            status_.setStatus(TextFormat::format(kPartCreated, static_cast<unsigned long long>(i)));
            if (values_.makePage) page.addRow(PartNaming::fileName(partPath));
        }
        if (values_.makePage) {
            page.writeFoot();
            values_.pageDone = true;
        }
    } catch (const FileError&) {
        status_.setStatus(TextFormat::format(kAborted, static_cast<unsigned long long>(complete)));
        throw;
    }
    source = FileHandle(); // only read: nothing to report at its close
    header_.dataLength = 0;
    status_.setStatus(TextFormat::format(kReady, static_cast<unsigned long long>(values_.partCount)));
    values_.ready = true;
    return true;
}

bool Splitter::refuseOverwritingSource(const std::string& outputPath) {
    const auto source = FileIdentity::of(values_.sourcePath);
    if (!source) return false; // the open below reports a missing source
    const auto refuse = [&](const std::string& target) {
        if (FileIdentity::of(target) != source) return false;
        status_.setStatus(TextFormat::format(kWouldOverwriteSource, target.c_str(), target.c_str()));
        return true;
    };
    if (values_.makePage && refuse(std::string(PartNaming::geoStem(outputPath)) + ".html")) return true;
    // Name by name: a set of many small parts would not fit in memory as a list of names.
    for (std::uint64_t i = 0; i < values_.partCount; ++i)
        if (refuse(PartNaming::geoPartPath(outputPath, i))) return true;
    return false;
}

DownloadPage Splitter::makePage() const {
    DownloadPage::Options options;
    options.style = values_.style;
    if (!values_.appDir.empty()) {
        options.stylesheetPath = PartNaming::join(values_.appDir, "stylesheet.css");
        options.bottomPath = PartNaming::join(values_.appDir, "bottom.txt");
    }
    options.date = values_.pageDate;
    options.uploader = values_.uploader;
    return DownloadPage(std::move(options));
}

// One part: the header with a checksum still to come, the data read, summed and enciphered
// chunk by chunk while the chunk before is being written, then the checksum put in its place.
// The bytes on disk are those of a record stored whole.
void Splitter::writePart(FileHandle& source, FileHandle& part, std::vector<std::uint8_t>& chunks, std::uint64_t index,
                         std::uint64_t& bytesDone, std::uint64_t sourceLength) {
    const std::uint64_t dataLength = std::min(values_.payload, sourceLength - bytesDone);
    header_.partIndex = static_cast<std::uint32_t>(index);
    header_.dataLength = static_cast<std::uint32_t>(dataLength);
    header_.setName(values_.sourceFileName);
    header_.checksum = 0;
    const auto headerBytes = header_.storeHeader();
    part.write(headerBytes.data(), headerBytes.size());

    const XorCipher cipher(header_.effectiveKey());
    const bool encipher = (header_.flags & CCode::DataEnciphered) != 0;
    std::uint32_t checksum = 0;
    WriteBehind writer(part, chunks);
    for (std::uint64_t done = 0; done < dataLength;) {
        const std::span<std::uint8_t> chunk = writer.nextBuffer();
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), dataLength - done));
        // The size was taken when the split began: fewer bytes now means the source shrank.
        if (source.read(chunk.data(), wanted) != wanted) throw FileError(source.path(), EIO);
        checksum = ByteSum::add(checksum, chunk.data(), wanted);
        if (encipher) cipher.apply(chunk.data(), wanted, done);
        writer.write(wanted);
        done += wanted;
        bytesDone += wanted;
        if (progress_) progress_({index, values_.partCount, bytesDone, sourceLength});
    }
    writer.finish();
    header_.checksum = checksum;
    const auto field = CCode::fieldBytes(checksum);
    part.writeAt(field.data(), field.size(), CCode::ChecksumOffset);
}
