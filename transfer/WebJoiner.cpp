#include "transfer/WebJoiner.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/MessageBoxSink.h"
#include "base/ReplacingFile.h"
#include "base/StatusSink.h"
#include "base/TextFormat.h"
#include "base/WriteBehind.h"
#include "splitjoin/CCode.h"
#include "splitjoin/JoinMessages.h"
#include "splitjoin/NameSanitizer.h"
#include "splitjoin/PartNaming.h"
#include "splitjoin/PartType.h"
#include "transfer/PageLinks.h"
#include "transfer/WebAddress.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <span>
#include <vector>

namespace {

// Texts of the web join alone; the rest are JoinMessages.
constexpr const char* kNotWebAddress =
    "Not a web address (http://, https:// or ftp://): %s\r\nKeine Web-Adresse (http://, https:// oder ftp://): %s";
constexpr const char* kNoLinks = "The page %s links no parts\r\nDie Seite %s verweist auf keine Split-Dateien";
constexpr const char* kCancelled = "Cancelled: nothing was written\r\nAbgebrochen: nichts geschrieben";

// The longest page read for its links: a page of many thousand parts is far smaller.
constexpr std::uint64_t kLongestPage = 16 * 1024 * 1024;

// How many leading bytes of a download can matter to the join: a part's header and the data it
// announces, since the check ignores whatever follows; `otherwise` for what is no part. A server
// that sends more, even without end, has the rest left unfetched.
std::uint64_t wantedLength(std::span<const std::uint8_t> head, std::uint64_t otherwise) {
    CCode record;
    if (!record.loadHeader(head, std::numeric_limits<std::uint64_t>::max())) return otherwise;
    return CCode::HeaderSize + std::uint64_t{record.dataLength};
}

} // namespace

// One remote file on its way: a hidden file beside the output that never takes a name of its own
// and goes when the download does.
struct WebJoiner::Download {
    std::string address;
    ReplacingFile scratch;

    // The bytes so far, read through a handle of their own (the scratch file is open for writing).
    bool openForReading(FileHandle& reader) const {
        return reader.open(scratch.temporaryPath(), FileHandle::Mode::Read);
    }
    // The same where the join cannot go on without them: a file just written that cannot be read
    // back is a file error.
    FileHandle reader() const {
        FileHandle reader;
        if (!openForReading(reader)) throw FileError(scratch.temporaryPath(), reader.errorNumber());
        return reader;
    }
};

WebJoiner::WebJoiner(StatusSink& status, MessageBoxSink& messageBox) : status_(status), messageBox_(messageBox) {}

WebJoiner::~WebJoiner() = default;

std::string WebJoiner::shown(const std::string& address) const { return WebAddress::forDisplay(address); }

bool WebJoiner::join(const Request& request) {
    request_ = request;
    request_.userKey = request_.userKey.substr(0, CCode::MaxUserKeyLength);
    request_.address = WebAddress::withoutFragment(request.address);
    outputPath_.clear();
    bytesDone_ = bytesTotal_ = 0;
    if (!WebAddress::isWebAddress(request_.address)) {
        const std::string address = shown(request_.address);
        status_.setStatus(TextFormat::format(kNotWebAddress, address.c_str(), address.c_str()));
        return false;
    }
    status_.setStatus(JoinMessages::Processing);
    // The output and every part's hidden file share the folder: its leftovers go once, here.
    ReplacingFile::removeAbandonedIn(request_.outputFolder.empty() ? "." : request_.outputFolder);
    std::unique_ptr<Download> partZero;
    if (!findPartZero(request_.address, partZero)) return false;
    CCode record;
    if (!acceptPartZero(*partZero, record) || refusePartBeyondCount()) return false;

    const std::string name =
        request_.outputName.empty() ? NameSanitizer::plainFileName(record.name()) : request_.outputName;
    const std::string outputPath = PartNaming::join(request_.outputFolder, name);
    ReplacingFile output;
    if (!output.create(outputPath, ReplacingFile::Leftovers::Keep)) {
        status_.setStatus(JoinMessages::outputNotCreated(output.errorNumber()));
        return false;
    }
    if (!joinParts(*partZero, output.file())) return false;
    output.commit(false);
    outputPath_ = outputPath;
    status_.setStatus(JoinMessages::Ready);
    return true;
}

std::unique_ptr<WebJoiner::Download> WebJoiner::newDownload(const std::string& address) {
    auto download = std::make_unique<Download>();
    download->address = address;
    std::string name = NameSanitizer::plainFileName(WebAddress::fileName(address));
    if (name.empty()) name = "download";
    if (!download->scratch.create(PartNaming::join(request_.outputFolder, name), ReplacingFile::Leftovers::Keep)) {
        status_.setStatus(JoinMessages::outputNotCreated(download->scratch.errorNumber()));
        return nullptr;
    }
    return download;
}

// One file on its own, whole or (with a limit) its leading bytes only, and no longer than a part
// can use or, when it is no part, than notAPart.
ParallelDownloads::Finished WebJoiner::download(Download& download, std::uint64_t limit, std::uint64_t notAPart) {
    ParallelDownloads downloads(limits_, &cancelled_);
    boundByHead(downloads, notAPart);
    downloads.start(0, download.address, download.scratch.file(), limit);
    return downloads.next();
}

void WebJoiner::boundByHead(ParallelDownloads& downloads, std::uint64_t notAPart) {
    downloads.setWantedLength(CCode::HeaderSize, [notAPart](std::span<const std::uint8_t> head) {
        return wantedLength(head, notAPart);
    });
}

std::unique_ptr<WebJoiner::Download> WebJoiner::fetch(const std::string& address, std::uint64_t notAPart) {
    auto fetched = newDownload(address);
    if (!fetched) return nullptr;
    const ParallelDownloads::Finished finished = download(*fetched, 0, notAPart);
    if (finished.outcome != ParallelDownloads::Outcome::Done) {
        reportFailedFetch(finished, address);
        return nullptr;
    }
    return fetched;
}

void WebJoiner::reportFailedFetch(const ParallelDownloads::Finished& finished, const std::string& address) {
    const std::string where = shown(address);
    switch (finished.outcome) {
    case ParallelDownloads::Outcome::Done:
        break;
    case ParallelDownloads::Outcome::Missing: {
        const std::string message = JoinMessages::missing(where);
        messageBox_.showStopBox(message);
        status_.setStatus(message);
        break;
    }
    case ParallelDownloads::Outcome::Failed:
        // As the local join words it, with the address in place of the path and the network's reason added.
        status_.setStatus(JoinMessages::cantOpenPart(where) + finished.detail);
        break;
    case ParallelDownloads::Outcome::Cancelled:
        status_.setStatus(kCancelled);
        break;
    }
}

// The address may name part 0, any other part, or the download page. Part 0's address follows
// from another part's by the naming rules, and from a page by its first link.
bool WebJoiner::findPartZero(const std::string& address, std::unique_ptr<Download>& partZero) {
    // The address may name a page: what is no part is read as one, up to the longest page.
    std::unique_ptr<Download> first = fetch(address, kLongestPage);
    if (!first) return false;
    FileHandle reader = first->reader();
    const std::uint64_t size = reader.size();
    const std::vector<std::uint8_t> head = PartCheck::readHead(reader, size);
    CCode record;
    record.userKey = request_.userKey;
    std::string partZeroAddress;
    if (record.loadHeader(head, std::numeric_limits<std::uint64_t>::max())) {
        // Unknown flags are refused by acceptPartZero before any other part is fetched.
        if (record.partIndex == 0 || record.flagsAsRead > CCode::KnownFlags) {
            partZero = std::move(first);
            partZeroAddress_ = address;
            return true;
        }
        const bool geo = PartType::usesGeoNaming(static_cast<int>(record.flagsAsRead));
        partZeroAddress = geo ? PartNaming::geoPartZeroPath(address, record.partIndex)
                              : PartNaming::classicPartPath(address, 0);
    } else {
        const std::string text(head.begin(), head.end());
        if (!PageLinks::looksLikePage(text)) {
            status_.setStatus(JoinMessages::NotRecognised);
            return false;
        }
        partZeroAddress = partZeroFromPage(address, *first);
        if (partZeroAddress.empty()) return false;
    }
    first.reset();
    partZero = fetch(partZeroAddress, CCode::HeaderSize);
    partZeroAddress_ = partZeroAddress;
    return partZero != nullptr;
}

std::string WebJoiner::partZeroFromPage(const std::string& pageAddress, Download& page) {
    FileHandle reader = page.reader();
    std::string text(static_cast<std::size_t>(std::min(reader.size(), kLongestPage)), '\0');
    text.resize(reader.read(text.data(), text.size()));
    const std::vector<std::string> links = PageLinks::of(text);
    if (links.empty()) {
        const std::string where = shown(pageAddress);
        status_.setStatus(TextFormat::format(kNoLinks, where.c_str(), where.c_str()));
        return {};
    }
    return WebAddress::resolve(pageAddress, PageLinks::encodeForAddress(links.front()));
}

// Part 0 fixes the set: its count, flags and name. A header no writer makes is refused before
// anything else is fetched.
bool WebJoiner::acceptPartZero(Download& partZero, CCode& record) {
    FileHandle reader = partZero.reader();
    const std::uint64_t size = reader.size();
    const std::string where = shown(partZero.address);
    record.userKey = request_.userKey;
    if (!record.loadHeader(PartCheck::readHead(reader, size), size)) {
        status_.setStatus(JoinMessages::wrongStructure(where));
        return false;
    }
    if (record.flagsAsRead > CCode::KnownFlags) {
        status_.setStatus(JoinMessages::unknownFlags(where, record.flagsAsRead));
        return false;
    }
    geo_ = PartType::usesGeoNaming(static_cast<int>(record.flagsAsRead));
    if (const std::string refusal = JoinMessages::countFault(record, where); !refusal.empty()) {
        status_.setStatus(refusal);
        return false;
    }
    set_ = PartCheck::SetSignature::of(record);
    bytesTotal_ = size * record.partCount;
    return true;
}

// A part numbered just past the count that carries the set's name and flags means the count is
// too small in every part: the file would be cut short. Its header is enough to tell.
bool WebJoiner::refusePartBeyondCount() {
    const std::string address = partAddress(set_.partCount);
    auto beyond = newDownload(address);
    if (!beyond) return true;
    const ParallelDownloads::Finished finished = download(*beyond, CCode::HeaderSize, CCode::HeaderSize);
    if (finished.outcome == ParallelDownloads::Outcome::Cancelled) {
        reportFailedFetch(finished, address);
        return true;
    }
    if (finished.outcome != ParallelDownloads::Outcome::Done) return false;
    FileHandle reader;
    if (!beyond->openForReading(reader)) return false;
    const std::vector<std::uint8_t> head = PartCheck::readHead(reader, reader.size());
    CCode record;
    record.userKey = request_.userKey;
    if (!record.loadHeader(head, std::numeric_limits<std::uint64_t>::max()) || record.name() != set_.name ||
        record.flagsAsRead != set_.flags)
        return false;
    const std::string where = shown(address);
    status_.setStatus(JoinMessages::beyondCount(where, set_.partCount));
    return true;
}

std::string WebJoiner::partAddress(std::uint64_t index) const {
    return PartNaming::partPath(partZeroAddress_, index, geo_);
}

// Part 0 goes first; the others come up to PartsAtOnce at a time and wait in their hidden files
// until every part before them is in, so that no more than that many wait at once. One writer
// writes the rebuilt file behind the checks, as in the local join.
bool WebJoiner::joinParts(Download& partZero, FileHandle& output) {
    std::vector<std::uint8_t> chunks; // the writer's buffers, let go with it
    WriteBehind writer(output, chunks);
    if (!appendPart(partZero, 0, writer)) return false;
    // Declared first, so that the hidden files outlive the transfers that write into them.
    std::map<std::uint64_t, std::unique_ptr<Download>> waiting;
    ParallelDownloads downloads(limits_, &cancelled_);
    boundByHead(downloads, CCode::HeaderSize);
    downloads.setBytesArrived([this](std::uint64_t id, std::size_t length) {
        bytesDone_ += length;
        reportProgress(id);
    });
    std::set<std::uint64_t> arrived;
    std::uint64_t nextToStart = 1;
    std::uint64_t nextToAppend = 1;
    while (nextToAppend < set_.partCount) {
        while (nextToStart < set_.partCount && nextToStart < nextToAppend + PartsAtOnce) {
            auto download = newDownload(partAddress(nextToStart));
            if (!download) return false;
            downloads.start(nextToStart, download->address, download->scratch.file());
            waiting[nextToStart++] = std::move(download);
        }
        const ParallelDownloads::Finished finished = downloads.next();
        if (finished.outcome != ParallelDownloads::Outcome::Done) {
            const auto failed = waiting.find(finished.id);
            reportFailedFetch(finished, failed == waiting.end() ? partZeroAddress_ : failed->second->address);
            return false;
        }
        arrived.insert(finished.id);
        for (; arrived.contains(nextToAppend); ++nextToAppend) {
            if (!appendPart(*waiting[nextToAppend], nextToAppend, writer)) return false;
            waiting.erase(nextToAppend);
            arrived.erase(nextToAppend);
        }
    }
    writer.finish();
    return true;
}

// Checks one fetched part and appends its data: deciphered, summed and written chunk by chunk.
// A part that fails has written into the output's hidden file only.
bool WebJoiner::appendPart(Download& part, std::uint64_t index, WriteBehind& output) {
    FileHandle reader = part.reader();
    PartData::Destination destination{output};
    const PartCheck::Result checked = PartCheck::check(reader, index, set_, request_.userKey, destination);
    if (checked.verdict == PartCheck::Verdict::Sound) {
        if (index == 0) bytesDone_ += reader.size();
        reportProgress(index);
        return true;
    }
    const std::string refusal = JoinMessages::verdict(checked, shown(part.address), shown(partZeroAddress_));
    if (JoinMessages::needsStopBox(checked.verdict)) messageBox_.showStopBox(refusal);
    status_.setStatus(refusal);
    return false;
}

void WebJoiner::reportProgress(std::uint64_t part) {
    if (!progress_) return;
    bytesTotal_ = std::max(bytesTotal_, bytesDone_);
    progress_({part, set_.partCount, bytesDone_, bytesTotal_});
}
