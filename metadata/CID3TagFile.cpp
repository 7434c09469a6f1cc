#include "metadata/CID3TagFile.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "base/ReplacingFile.h"
#include "base/TextFormat.h"
#include "metadata/GenreTable.h"
#include "metadata/Id3Text.h"
#include "platform/xaudio/MpegFrameHeader.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {

constexpr std::size_t kV1Size = 128;
constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kAudioWindow = 2052;

std::uint32_t syncsafe(const std::uint8_t* b) {
    return (std::uint32_t(b[0] & 0x7F) << 21) | (std::uint32_t(b[1] & 0x7F) << 14) |
           (std::uint32_t(b[2] & 0x7F) << 7) | std::uint32_t(b[3] & 0x7F);
}

std::uint32_t bigEndian32(const std::uint8_t* b) {
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
}

void putSyncsafe(std::uint8_t* b, std::uint32_t value) {
    for (int i = 3; i >= 0; --i, value >>= 7) b[i] = static_cast<std::uint8_t>(value & 0x7F);
}

void putBigEndian32(std::uint8_t* b, std::uint32_t value) {
    for (int i = 3; i >= 0; --i, value >>= 8) b[i] = static_cast<std::uint8_t>(value & 0xFF);
}

// Unsynchronisation put a zero byte behind every 0xFF that could be taken for a frame sync.
std::vector<std::uint8_t> resynchronise(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(data[i]);
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] == 0x00) ++i;
    }
    return out;
}

// The decimal value of the leading digits, kept to its low 8 bits (as the ID3v1 byte holds it).
std::uint8_t lowByteOfLeadingNumber(std::string_view text) {
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xFFu;
    }
    return static_cast<std::uint8_t>(value);
}

std::string unsignedText(std::string_view bytes) {
    std::uint64_t value = 0;
    for (char c : bytes.substr(0, 8)) value = (value << 8) | static_cast<unsigned char>(c);
    return std::to_string(value);
}

} // namespace

CID3TagFile::CID3TagFile(MessageBoxSink& messages) : messages_(messages) {}

void CID3TagFile::Release() {
    tagData_.clear();
    framesArea_.clear();
    newTag_.clear();
    newTagLength_ = 0;
    newTagWritePos_ = 0;
    header_ = {};
    tagSize_ = 0;
    mode_ = TagMode::Unset;
    valid_ = false;
}

void CID3TagFile::Reset() {
    newTagLength_ = newTagWritePos_ = kHeaderSize;
    header_ = {};
    tagSize_ = 0;
    mode_ = TagMode::Unset;
    presence_ = TagPresence::None;
    newTag_.clear();
    for (std::string* text : {&artist_, &album_, &title_, &comment_, &year_, &track_, &genreText_}) text->clear();
    for (std::string* text : {&length_, &fileType_, &initialKey_, &playCounter_, &position_}) text->clear();
    genreNumber_ = 0;
    tagVersion_ = 0;
    tagUnsynchronised_ = false;
    commentFrameAt_.reset();
    commentLanguage_.clear();
    yearFrame_.clear();
    audioMagic_ = {};
    audioStart_ = 0;
    valid_ = true;
}

bool CID3TagFile::ReadTags(const std::string& path) {
    FileHandle file;
    if (file.open(path, FileHandle::Mode::Read)) return ReadTags(file);
    Release();
    Reset();
    path_ = path;
    SetMode(TagMode::ModeV1);
    return false;
}

bool CID3TagFile::ReadTags(FileHandle& file) {
    Release();
    Reset();
    const TagPresence presence = detectTags(file);
    const bool hasV2 = presence == TagPresence::V2Only || presence == TagPresence::Both;
    SetMode(hasV2 ? TagMode::ModeV2 : TagMode::ModeV1);
    return Read(file);
}

TagPresence CID3TagFile::DetectTags(const std::string& path) {
    path_ = path;
    FileHandle file;
    if (!file.open(path, FileHandle::Mode::Read)) return TagPresence::None;
    return detectTags(file);
}

TagPresence CID3TagFile::detectTags(FileHandle& file) {
    try {
        const std::uint64_t size = file.size();
        file.seek(0);
        char start[3] = {};
        const bool v2 = file.read(start, 3) == 3 && std::memcmp(start, "ID3", 3) == 0;
        char end[3] = {};
        bool v1 = false;
        if (size >= kV1Size) {
            file.seek(size - kV1Size);
            v1 = file.read(end, 3) == 3 && std::memcmp(end, "TAG", 3) == 0;
        }
        presence_ = v1 && v2 ? TagPresence::Both : v2 ? TagPresence::V2Only : v1 ? TagPresence::V1Only : TagPresence::None;
    } catch (const FileError&) {
        return TagPresence::None;
    }
    return presence_;
}

bool CID3TagFile::Read(const std::string& path) {
    path_ = path;
    FileHandle file;
    if (!file.open(path, FileHandle::Mode::Read)) return false;
    return Read(file);
}

bool CID3TagFile::Read(FileHandle& file) {
    path_ = file.path();
    try {
        file.seek(0);
        if (mode_ == TagMode::ModeV2) {
            file.read(header_.data(), header_.size());
            if (std::memcmp(header_.data(), "ID3", 3) != 0) return false;
            readV2(file);
        } else {
            file.read(audioMagic_.data(), audioMagic_.size());
            const std::uint64_t size = file.size();
            if (size < kV1Size) return false;
            file.seek(size - kV1Size);
            file.read(header_.data(), 3);
            if (std::memcmp(header_.data(), "TAG", 3) != 0) return false;
            readV1(file);
        }
        // The caller's handle closes the file: an error at the close of a file only read loses
        // nothing, and taking it for a failed read would write the tags anew without the texts read.
    } catch (const FileError&) {
        return false;
    }
    locateAudio(file, std::uint64_t(tagSize_) + kHeaderSize);
    return true;
}

void CID3TagFile::readV1(FileHandle& file) {
    std::array<char, kV1Size - 3> fields{};
    file.read(fields.data(), fields.size());
    auto text = [&fields](std::size_t offset, std::size_t width) {
        const std::string_view field(fields.data() + offset - 3, width);
        return Id3Text::fromLatin1(field.substr(0, field.find('\0')));
    };
    title_ = text(3, 30);
    artist_ = text(33, 30);
    album_ = text(63, 30);
    year_ = text(93, 4);
    // ID3v1.1 keeps a track in the comment's last byte only behind a zero byte; without that
    // zero the tag is ID3v1.0 and all 30 bytes are comment.
    if (fields[125 - 3] == '\0') {
        comment_ = text(97, 28);
        track_ = std::to_string(static_cast<unsigned char>(fields[126 - 3]));
    } else {
        comment_ = text(97, 30);
    }
    genreNumber_ = static_cast<unsigned char>(fields[127 - 3]);
}

void CID3TagFile::readV2(FileHandle& file) {
    tagSize_ = syncsafe(header_.data() + 6);
    const std::uint64_t available = file.size();
    const std::uint64_t wanted = std::min<std::uint64_t>(std::uint64_t(tagSize_) + kHeaderSize, available);
    tagData_.resize(static_cast<std::size_t>(wanted));
    file.seek(0);
    tagData_.resize(file.read(tagData_.data(), tagData_.size()));
    loadFramesArea();
    readFrames();
    readComment();
    if (tagVersion_ == 2 && presence_ == TagPresence::Both) takeV1Edits(file);
    audioMagic_ = {};
    if (std::uint64_t(tagSize_) + kHeaderSize < available) {
        file.seek(std::uint64_t(tagSize_) + kHeaderSize);
        file.read(audioMagic_.data(), audioMagic_.size());
    }
}

// A 2.2 tag is never rewritten, so texts written since live in the ID3v1 tag beside it. An ID3v1
// text wins unless it is empty or only the 2.2 text as the ID3v1 field holds it: in Latin-1 (a
// character without one written as '?') and cut to the field's width.
void CID3TagFile::takeV1Edits(FileHandle& file) {
    CID3TagFile v1(messages_);
    v1.Reset();
    v1.SetMode(TagMode::ModeV1);
    if (!v1.Read(file)) return;
    const std::pair<std::string*, const std::string*> texts[] = {
        {&title_, &v1.title_}, {&artist_, &v1.artist_}, {&album_, &v1.album_},
        {&year_, &v1.year_},   {&comment_, &v1.comment_}, {&track_, &v1.track_}};
    for (const auto& [text, v1Text] : texts) {
        // An empty field (or track 0) says nothing: another tool may have left it out.
        const bool silent = v1Text->empty() || (v1Text == &v1.track_ && *v1Text == "0");
        const std::string asInV1 = Id3Text::fromLatin1(Id3Text::toLatin1Lossy(*text));
        if (!silent && asInV1.compare(0, v1Text->size(), *v1Text) != 0) *text = *v1Text;
    }
}

// The frames of a 2.3 or 2.4 tag, with tag-level unsynchronisation (2.3) and the extended header
// taken away. Other versions lay out their frames differently; their frames are not read.
void CID3TagFile::loadFramesArea() {
    framesArea_.clear();
    tagVersion_ = header_[3];
    if (tagVersion_ == 2 && tagData_.size() > kHeaderSize) return loadV22Frames();
    if ((tagVersion_ != 3 && tagVersion_ != 4) || tagData_.size() <= kHeaderSize) return;
    const std::uint8_t flags = header_[5];
    tagUnsynchronised_ = (flags & 0x80) != 0;
    if (tagVersion_ == 3 && tagUnsynchronised_)
        framesArea_ = resynchronise(tagData_.data() + kHeaderSize, tagData_.size() - kHeaderSize);
    else
        framesArea_.assign(tagData_.begin() + kHeaderSize, tagData_.end());
    if ((flags & 0x40) != 0 && framesArea_.size() >= 4) {
        const std::uint64_t extended = tagVersion_ == 3 ? std::uint64_t(bigEndian32(framesArea_.data())) + 4
                                                        : syncsafe(framesArea_.data());
        framesArea_.erase(framesArea_.begin(),
                          framesArea_.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(extended, framesArea_.size())));
    }
}

// The texts of a 2.2 tag, read in the 2.3 layout: its frames have three-letter ids and 3-byte
// sizes. Only the frames read for display are taken over; the tag itself is never rewritten.
void CID3TagFile::loadV22Frames() {
    static const std::pair<std::string_view, std::string_view> kIds[] = {
        {"TT2", "TIT2"}, {"TP1", "TPE1"}, {"TAL", "TALB"}, {"TYE", "TYER"}, {"TOR", "TORY"}, {"TCO", "TCON"},
        {"COM", "COMM"}, {"TRK", "TRCK"}, {"TLE", "TLEN"}, {"TFT", "TFLT"}, {"TKE", "TKEY"}, {"CNT", "PCNT"}};
    const std::uint8_t flags = header_[5];
    if ((flags & 0x40) != 0) return; // compressed: no layout was ever defined for it
    const std::vector<std::uint8_t> area =
        (flags & 0x80) != 0 ? resynchronise(tagData_.data() + kHeaderSize, tagData_.size() - kHeaderSize)
                            : std::vector<std::uint8_t>(tagData_.begin() + kHeaderSize, tagData_.end());
    for (std::size_t at = 0; at + 6 <= area.size() && area[at] != 0;) {
        const std::size_t size = (std::size_t(area[at + 3]) << 16) | (std::size_t(area[at + 4]) << 8) | area[at + 5];
        if (size > area.size() - at - 6) return;
        const std::string_view id(reinterpret_cast<const char*>(area.data() + at), 3);
        for (const auto& [old, current] : kIds) {
            if (id != old) continue;
            std::uint8_t header[kHeaderSize] = {};
            std::memcpy(header, current.data(), 4);
            putBigEndian32(header + 4, static_cast<std::uint32_t>(size));
            framesArea_.insert(framesArea_.end(), header, header + kHeaderSize);
            framesArea_.insert(framesArea_.end(), area.begin() + static_cast<std::ptrdiff_t>(at + 6),
                               area.begin() + static_cast<std::ptrdiff_t>(at + 6 + size));
        }
        at += 6 + size;
    }
}

std::optional<CID3TagFile::FrameSpan> CID3TagFile::frameAt(std::size_t position) const {
    if (position > framesArea_.size() || framesArea_.size() - position < kHeaderSize) return std::nullopt;
    const std::uint8_t* header = framesArea_.data() + position;
    if (header[0] == 0) return std::nullopt; // padding
    const std::uint64_t size = tagVersion_ == 4 ? syncsafe(header + 4) : bigEndian32(header + 4);
    if (size > framesArea_.size() - position - kHeaderSize) return std::nullopt; // runs past the tag
    return FrameSpan{position, static_cast<std::size_t>(size)};
}

// The frame's data as a reader sees it: frame-level unsynchronisation undone, the data length
// indicator and group byte skipped; a compressed or enciphered frame gives nothing.
std::string CID3TagFile::payloadOf(const FrameSpan& frame) const {
    const std::uint8_t* data = framesArea_.data() + frame.at + kHeaderSize;
    std::size_t size = frame.size;
    const std::uint8_t format = framesArea_[frame.at + 9];
    if (tagVersion_ != 4) {
        if ((format & 0xC0) != 0) return {};
        if ((format & 0x20) != 0) {
            if (size < 1) return {};
            ++data;
            --size;
        }
        return std::string(reinterpret_cast<const char*>(data), size);
    }
    if ((format & 0x0C) != 0) return {};
    std::vector<std::uint8_t> bytes(data, data + size);
    if ((format & 0x02) != 0 || tagUnsynchronised_) bytes = resynchronise(bytes.data(), bytes.size());
    std::size_t skip = 0;
    if ((format & 0x40) != 0) ++skip;
    if ((format & 0x01) != 0) skip += 4;
    if (skip > bytes.size()) return {};
    return std::string(reinterpret_cast<const char*>(bytes.data()) + skip, bytes.size() - skip);
}

std::optional<std::string> CID3TagFile::FindFrame(std::string_view id, std::size_t* cursor) const {
    if (!valid_ || mode_ != TagMode::ModeV2) return std::nullopt;
    std::size_t position = cursor ? *cursor : 0;
    while (const auto frame = frameAt(position)) {
        const std::size_t next = frame->at + kHeaderSize + frame->size;
        if (std::memcmp(framesArea_.data() + frame->at, id.data(), std::min<std::size_t>(id.size(), 4)) == 0 &&
            id.size() == 4) {
            if (cursor) *cursor = next;
            return payloadOf(*frame);
        }
        position = next;
    }
    return std::nullopt;
}

void CID3TagFile::readFrames() {
    auto text = [this](std::string_view id) {
        const auto payload = FindFrame(id);
        return payload ? Id3Text::decodeFrameText(*payload) : std::string();
    };
    album_ = text("TALB");
    artist_ = text("TPE1");
    const std::string genre = text("TCON");
    const GenreTable::Id3v2Genre parsed = GenreTable::parseId3v2(genre);
    genreText_ = std::string(parsed.name);
    if (parsed.reference) genreNumber_ = *parsed.reference;
    title_ = text("TIT2");
    track_ = text("TRCK");
    readYear();
    length_ = text("TLEN");
    fileType_ = text("TFLT");
    initialKey_ = text("TKEY");
    if (const auto counter = FindFrame("PCNT")) playCounter_ = unsignedText(*counter);
    if (const auto place = FindFrame("POSS"); place && place->size() > 1) position_ = unsignedText(place->substr(1));
}

// The recording year; a tag without one names the year of the release, then of the original
// release. A rewrite puts the year back into the frame it came from.
void CID3TagFile::readYear() {
    const char* const candidates[] = {tagVersion_ == 4 ? "TDRC" : "TYER", "TYER", "TDRL", "TDOR", "TORY"};
    yearFrame_.clear();
    year_.clear();
    for (const char* id : candidates) {
        if (const auto payload = FindFrame(id)) {
            year_ = Id3Text::decodeFrameText(*payload);
            if (year_.empty()) continue;
            yearFrame_ = id;
            return;
        }
    }
}

// The comment is the first COMM frame whose short description is empty.
void CID3TagFile::readComment() {
    comment_.clear();
    std::size_t cursor = 0;
    while (true) {
        const std::size_t before = cursor;
        const auto payload = FindFrame("COMM", &cursor);
        if (!payload || payload->size() < 5) return;
        const auto encoding = static_cast<std::uint8_t>((*payload)[0]);
        std::size_t consumed = 0;
        const std::string description = Id3Text::decode(encoding, std::string_view(*payload).substr(4), &consumed);
        if (description.empty()) {
            comment_ = Id3Text::decode(encoding, std::string_view(*payload).substr(4 + consumed));
            commentLanguage_ = payload->substr(1, 3);
            // Remember which frame it was: a rewrite replaces this one and keeps the others.
            for (std::size_t walk = before; const auto frame = frameAt(walk);) {
                walk = frame->at + kHeaderSize + frame->size;
                if (walk == cursor) {
                    commentFrameAt_ = frame->at;
                    break;
                }
            }
            return;
        }
    }
}

// The language of the comment read, when it names one; else "XXX", which ID3v2 reserves for an
// unknown language (zero bytes are no language code at all).
std::string CID3TagFile::commentLanguage() const {
    const bool named = commentLanguage_.size() == 3 && commentLanguage_.find('\0') == std::string::npos;
    return named ? commentLanguage_ : "XXX";
}

bool CID3TagFile::IsEditable() const {
    if (!valid_) return false;
    return std::memcmp(audioMagic_.data(), "RIFF", 4) != 0 && std::memcmp(audioMagic_.data(), "Ogg", 3) != 0;
}

void CID3TagFile::writeTagHeader() {
    std::memcpy(newTag_.data(), "ID3", 3);
    newTag_[3] = static_cast<std::uint8_t>(tagVersion_);
    newTag_[4] = 0;
    newTag_[5] = 0;
    putSyncsafe(newTag_.data() + 6, newTagLength_ - kHeaderSize);
}

void CID3TagFile::addFrame(std::string_view id, std::uint8_t encoding, std::string_view data) {
    if (data.empty()) return;
    const std::size_t frameLength = data.size() + 11;
    newTag_.resize(std::max<std::size_t>(newTag_.size(), newTagLength_ + frameLength), 0);
    std::uint8_t* frame = newTag_.data() + newTagWritePos_;
    std::memcpy(frame, id.data(), 4);
    const auto payloadLength = static_cast<std::uint32_t>(data.size() + 1);
    if (tagVersion_ == 4)
        putSyncsafe(frame + 4, payloadLength);
    else
        putBigEndian32(frame + 4, payloadLength);
    frame[8] = frame[9] = 0;
    frame[10] = encoding;
    std::memcpy(frame + 11, data.data(), data.size());
    newTagWritePos_ += static_cast<std::uint32_t>(frameLength);
    newTagLength_ += static_cast<std::uint32_t>(frameLength);
    writeTagHeader();
}

void CID3TagFile::addCarriedFrame(std::vector<std::uint8_t> frame) {
    newTag_.resize(std::max<std::size_t>(newTag_.size(), newTagLength_ + frame.size()), 0);
    std::memcpy(newTag_.data() + newTagWritePos_, frame.data(), frame.size());
    newTagWritePos_ += static_cast<std::uint32_t>(frame.size());
    newTagLength_ += static_cast<std::uint32_t>(frame.size());
    writeTagHeader();
}

const std::vector<std::uint8_t>* CID3TagFile::BuildV2() {
    if (!valid_ || mode_ != TagMode::ModeV2 || (tagVersion_ != 3 && tagVersion_ != 4)) return nullptr;
    const bool yearFromRelease = yearFrame_ == "TDRL" || yearFrame_ == "TDOR" || yearFrame_ == "TORY";
    const std::string_view yearId = yearFromRelease ? std::string_view(yearFrame_) : tagVersion_ == 4 ? "TDRC" : "TYER";
    const std::pair<std::string_view, const std::string*> texts[] = {
        {"TIT2", &title_}, {"TALB", &album_}, {"TRCK", &track_}, {yearId, &year_}, {"TPE1", &artist_}, {"TCON", &genreText_}};
    std::vector<Id3Text::Encoded> encoded;
    std::size_t textLengths = 0;
    for (const auto& [id, text] : texts) {
        encoded.push_back(Id3Text::encodeForFrame(*text));
        textLengths += encoded.back().bytes.size();
    }
    const Id3Text::Encoded comment = Id3Text::encodeForFrame(comment_);
    textLengths += comment.bytes.size();
    if (textLengths + 130 + 2 * framesArea_.size() >= (1u << 27)) return nullptr; // beyond the size field

    newTag_.assign(textLengths + 130, 0);
    newTagLength_ = static_cast<std::uint32_t>(textLengths + 130);
    newTagWritePos_ = kHeaderSize;
    writeTagHeader();
    for (std::size_t i = 0; i < encoded.size(); ++i) addFrame(texts[i].first, encoded[i].encoding, encoded[i].bytes);
    addFrame("COMM", comment.encoding, commentLanguage() + Id3Text::emptyString(comment.encoding) + comment.bytes);

    std::size_t position = 0;
    while (const auto frame = frameAt(position)) {
        position = frame->at + kHeaderSize + frame->size;
        const std::string_view id(reinterpret_cast<const char*>(framesArea_.data() + frame->at), 4);
        const bool edited = id == "TIT2" || id == "TALB" || id == "TRCK" || id == "TYER" || id == yearId ||
                            id == "TPE1" || id == "TCON" || frame->at == commentFrameAt_;
        if (edited) continue;
        std::vector<std::uint8_t> bytes(framesArea_.begin() + static_cast<std::ptrdiff_t>(frame->at),
                                        framesArea_.begin() + static_cast<std::ptrdiff_t>(position));
        // The new tag carries no tag-level flag: a 2.4 frame says for itself that it is unsynchronised.
        if (tagVersion_ == 4 && tagUnsynchronised_) bytes[9] |= 0x02;
        addCarriedFrame(std::move(bytes));
    }
    return &newTag_;
}

void CID3TagFile::replaceFile(ReplacingFile& file) { file.commit(true); }

const char* TagsWritten::statusText() const {
    if (v1 && v2) return "ID3v1 and ID3v2 Tag updated";
    if (v1) return "ID3v1 Tag updated";
    if (v2) return "ID3v2 Tag updated";
    return "Error: No Tag updated";
}

// One rewrite carries both tags: were the ID3v1 tag written behind a finished rewrite, a failure
// there would leave a file with only its new ID3v2 tag.
TagsWritten CID3TagFile::WriteTags() {
    if (BuildV2()) {
        const bool written = rewrite(true);
        return {written, written};
    }
    return {WriteV1(), false};
}

bool CID3TagFile::WriteV2() { return rewrite(false); }

bool CID3TagFile::rewrite(bool withV1) {
    if (path_.empty() || newTag_.size() < newTagLength_ || newTagLength_ <= kHeaderSize) return false;
    FileHandle source;
    if (!source.open(path_, FileHandle::Mode::ReadWrite)) {
        messages_.showStopBox(TextFormat::format("Can't open file %s for reading", path_.c_str()));
        return false;
    }
    const std::string failed = "Please try again\r\nID3Tag not updated\r\nCause: Read/Write error";
    ReplacingFile target;
    // The replacing file follows a linked name to the file itself and keeps its owner and mode.
    if (!target.create(path_)) {
        messages_.showStopBox(failed + "\r\n" + FileError::describe(target.errorNumber()));
        return false;
    }
    try {
        target.file().write(newTag_.data(), newTagLength_);
        copyAudioWithV1(source, target.file(), withV1);
    } catch (const FileError& error) {
        messages_.showStopBox(failed + "\r\n" + error.description());
        return false;
    }
    source = FileHandle(); // only read from: its close has nothing to report
    try {
        replaceFile(target);
    } catch (const FileError& error) {
        // The new file failed on its way to the disk, or could not take the file's name.
        if (error.path() == target.temporaryPath())
            messages_.showStopBox(failed + "\r\n" + error.description());
        else
            messages_.showStopBox(TextFormat::format("Could not rename file %s to %s\r\nID3Tag not updated, the file is unchanged\r\n",
                                                     target.temporaryPath().c_str(), path_.c_str()) +
                                  error.description());
        return false;
    }
    return true;
}

// The file from the audio on behind the new ID3v2 tag; with withV1 the new ID3v1 tag takes the
// place of the old one at the end, or follows the audio when there is none.
void CID3TagFile::copyAudioWithV1(FileHandle& source, FileHandle& target, bool withV1) {
    const std::uint64_t size = source.size();
    bool endsWithV1 = false;
    if (withV1 && size >= audioStart_ + kV1Size) {
        char marker[3] = {};
        source.seek(size - kV1Size);
        endsWithV1 = source.read(marker, 3) == 3 && std::memcmp(marker, "TAG", 3) == 0;
    }
    const std::uint64_t copied = source.copyTo(target, audioStart_);
    if (!withV1) return;
    const auto tag = buildV1();
    const std::uint64_t end = newTagLength_ + copied;
    target.writeAt(tag.data(), tag.size(), endsWithV1 && copied >= kV1Size ? end - kV1Size : end);
}

std::array<std::uint8_t, 128> CID3TagFile::buildV1() const {
    std::array<std::uint8_t, kV1Size> tag{};
    std::memcpy(tag.data(), "TAG", 3);
    auto put = [&tag](std::size_t offset, std::size_t width, const std::string& text) {
        const std::string latin1 = Id3Text::toLatin1Lossy(text);
        std::memcpy(tag.data() + offset, latin1.data(), std::min(width, latin1.size()));
    };
    put(3, 30, title_);
    put(33, 30, artist_);
    put(63, 30, album_);
    put(93, 4, year_);
    // A track needs the ID3v1.1 layout: a 28-byte comment, a zero byte, then the track.
    const std::uint8_t track = lowByteOfLeadingNumber(track_);
    put(97, track != 0 ? 28 : 30, comment_);
    if (track != 0) tag[126] = track;
    tag[127] = static_cast<std::uint8_t>(genreNumber_ & 0xFF);
    return tag;
}

bool CID3TagFile::WriteV1() {
    if (path_.empty()) return false;
    FileHandle file;
    if (!file.open(path_, FileHandle::Mode::ReadWrite)) return false;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::array<std::uint8_t, kV1Size> old{};
    try {
        size = file.size();
        // The old tag is overwritten only where it really is: a file changed since it was
        // examined never loses its last 128 bytes of audio.
        offset = size;
        if (size >= kV1Size) {
            file.seek(size - kV1Size);
            if (file.read(old.data(), old.size()) == kV1Size && std::memcmp(old.data(), "TAG", 3) == 0)
                offset = size - kV1Size;
        }
    } catch (const FileError&) {
        return false;
    }
    try {
        const auto tag = buildV1();
        file.writeAt(tag.data(), tag.size(), offset);
        // A device error shows here or at the close, not at the write.
        file.flushToDisk();
        file.close();
    } catch (const FileError& error) {
        file = FileHandle();
        const char* outcome = restoreEnd(size, offset, old)
                                  ? "ID3v1 Tag not updated, the file is unchanged"
                                  : "ID3v1 Tag not updated, and the file could not be put back as it was";
        messages_.showStopBox(std::string(outcome) + "\r\n" + error.description());
        return false;
    }
    return true;
}

// Puts back the file's length and, where a tag was overwritten, its old last 128 bytes.
bool CID3TagFile::restoreEnd(std::uint64_t size, std::uint64_t offset, const std::array<std::uint8_t, kV1Size>& old) {
    FileHandle file;
    if (!file.open(path_, FileHandle::Mode::ReadWrite)) return false;
    try {
        if (offset < size) file.writeAt(old.data(), old.size(), offset);
        file.truncate(size);
        file.flushToDisk();
        file.close();
    } catch (const FileError&) {
        return false;
    }
    return true;
}

void CID3TagFile::LocateAudio(const std::string& path, std::uint64_t start) {
    audioStart_ = 0;
    FileHandle file;
    if (file.open(path, FileHandle::Mode::Read)) locateAudio(file, start);
}

// A file that cannot be read here leaves the audio start at 0; the tags read stay valid.
void CID3TagFile::locateAudio(FileHandle& file, std::uint64_t start) {
    audioStart_ = 0;
    std::vector<std::uint8_t> window(kAudioWindow);
    std::uint64_t fileSize = 0;
    try {
        fileSize = file.size();
        file.seek(start);
        window.resize(file.read(window.data(), window.size()));
    } catch (const FileError&) {
        return;
    }
    int accepted = 0;
    int firstRate = 0;
    std::size_t skipped = 0;
    for (std::size_t at = 0; at + 3 < window.size() && accepted < 8; ++at) {
        const auto header = MpegFrameHeader::parse(window.data() + at);
        bool accept = header.has_value() && (accepted == 0 || header->sampleRate == firstRate);
        if (accept && header->layer == 3) {
            // A Xing header frame takes its bitrate from the frame and byte counts it announces.
            const std::size_t marker = at + header->sideInfoEnd();
            if (marker + 8 <= window.size() && std::memcmp(window.data() + marker, "Xing", 4) == 0) {
                const std::uint32_t flags = bigEndian32(window.data() + marker + 4);
                std::size_t field = marker + 8;
                std::uint32_t frames = 0, bytes = 0;
                if ((flags & 1) != 0 && field + 4 <= window.size()) frames = bigEndian32(window.data() + field);
                if ((flags & 1) != 0) field += 4;
                if ((flags & 2) != 0 && field + 4 <= window.size()) bytes = bigEndian32(window.data() + field);
                const std::uint64_t total = bytes != 0 ? bytes : accepted == 0 ? fileSize : 0;
                const std::uint64_t bitrate = frames == 0 ? 0 : total / frames * std::uint64_t(header->sampleRate) / 144 / 1000 * 1000;
                accept = bitrate > 0;
            }
        }
        if (accept) {
            if (accepted++ == 0) firstRate = header->sampleRate;
        } else if (accepted == 0) {
            ++skipped;
        }
    }
    if (accepted > 0) audioStart_ = start + skipped;
}
