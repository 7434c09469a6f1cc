#include "platform/xaudio/XaudioAnalyzer.h"

#include "app/FileHandle.h"
#include "app/MessageBoxSink.h"
#include "metadata/CID3TagFile.h"
#include "metadata/GenreTable.h"
#include "metadata/Id3Text.h"
#include "platform/xaudio/MpegStreamScanner.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <cmath>
#include <new>

namespace {

// Reading tags shows no message: a file whose tags cannot be read simply has no texts.
struct NoMessages : MessageBoxSink {
    void showStopBox(const std::string&) override {}
};

// The genre number that an ID3v2 genre text stands for: "(17)Rock", "Rock" or "17".
std::uint8_t genreOfText(const std::string& text) {
    auto number = [](std::string_view digits) -> int {
        if (digits.empty() || digits.size() > 3) return -1;
        int value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    if (!text.empty() && text[0] == '(') {
        const std::size_t close = text.find(')');
        if (close != std::string::npos) {
            const int value = number(std::string_view(text).substr(1, close - 1));
            if (value >= 0 && value < 256) return static_cast<std::uint8_t>(value);
        }
    }
    if (const int index = GenreTable::indexOf(text); index >= 0) return static_cast<std::uint8_t>(index);
    const int value = number(text);
    return value >= 0 && value < 256 ? static_cast<std::uint8_t>(value) : 255;
}

std::uint8_t v1Genre(const std::string& path, MessageBoxSink& messages) {
    CID3TagFile v1(messages);
    v1.Reset();
    v1.SetMode(TagMode::ModeV1);
    return v1.Read(path) ? static_cast<std::uint8_t>(v1.GenreNumber()) : 255;
}

} // namespace

void XaudioAnalyzer::readTags(const std::string& path, XA_AnalyzerInfo& info) {
    NoMessages messages;
    CID3TagFile tags(messages);
    tags.Release();
    tags.Reset();
    const TagPresence presence = tags.DetectTags(path);
    const bool hasV2 = presence == TagPresence::V2Only || presence == TagPresence::Both;
    tags.SetMode(hasV2 ? TagMode::ModeV2 : TagMode::ModeV1);
    const bool read = tags.Read(path);
    title_ = tags.Title();
    artist_ = tags.Artist();
    album_ = tags.Album();
    year_ = tags.Year();
    comment_ = tags.Comment();
    auto pointer = [read](const std::string& text) { return read && !text.empty() ? text.c_str() : nullptr; };
    info.title = pointer(title_);
    info.artist = pointer(artist_);
    info.album = pointer(album_);
    info.year = pointer(year_);
    info.comment = pointer(comment_);
    if (presence == TagPresence::V1Only)
        info.genre = read ? static_cast<std::uint8_t>(tags.GenreNumber()) : 255;
    else if (presence == TagPresence::Both)
        info.genre = v1Genre(path, messages);
    else if (const auto genre = hasV2 ? tags.FindFrame("TCON") : std::nullopt)
        info.genre = genreOfText(Id3Text::decodeFrameText(*genre));
    else
        info.genre = 255;
}

int XaudioAnalyzer::process(const std::string& path, int flags, XA_AnalyzerInfo& info) {
    const auto facts = MpegStreamScanner::scan(path, (flags & XA_ANALYZE_FIRST_FRAME) != 0);
    if (!facts) {
        FileHandle probe;
        return probe.open(path, FileHandle::Mode::Read) ? XA::NotMpegAudio : XA::InputOpenFailed;
    }
    const MpegFrameHeader& first = facts->first;
    info.level = first.level;
    info.layer = first.layer;
    info.bitrate = facts->averageBitrate();
    info.frequency = first.sampleRate;
    info.mode = first.channelMode;
    info.channels = first.channels();
    info.frames = static_cast<std::int32_t>(facts->frames);
    info.duration = static_cast<std::uint32_t>(std::llround(facts->seconds * 1000));
    info.variations = facts->variations;
    readTags(path, info);
    return XA::Success;
}

int xanalyzer_new(XA_AnalyzerHandle* handle) {
    if (!handle) return XA::InvalidParameters;
    *handle = new (std::nothrow) XaudioAnalyzer();
    return *handle ? XA::Success : XA::OutOfMemory;
}

int xanalyzer_process_file(XA_AnalyzerHandle handle, const char* path, int flags, int, XA_AnalyzerInfo* info, int, int, int) {
    if (!handle || !path || !info) return XA::InvalidParameters;
    return handle->process(path, flags, *info);
}

void xanalyzer_delete(XA_AnalyzerHandle handle) { delete handle; }
