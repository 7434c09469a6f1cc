#include "platform/xaudio/XaudioAnalyzer.h"

#include "base/FileHandle.h"
#include "platform/xaudio/MpegStreamScanner.h"
#include "platform/xaudio/TagTextSource.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <cmath>
#include <new>

void XaudioAnalyzer::readTags(FileHandle& file, XA_AnalyzerInfo& info) {
    TagTexts texts = tagSource_ ? tagSource_->readTagTexts(file) : TagTexts{};
    title_ = std::move(texts.title);
    artist_ = std::move(texts.artist);
    album_ = std::move(texts.album);
    year_ = std::move(texts.year);
    comment_ = std::move(texts.comment);
    auto pointer = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    info.title = pointer(title_);
    info.artist = pointer(artist_);
    info.album = pointer(album_);
    info.year = pointer(year_);
    info.comment = pointer(comment_);
    info.genre = texts.genre;
}

int XaudioAnalyzer::process(const std::string& path, int flags, XA_AnalyzerInfo& info) {
    FileHandle file;
    if (!file.open(path, FileHandle::Mode::Read)) return XA::InputOpenFailed;
    const auto facts = MpegStreamScanner::scan(file, (flags & XA_ANALYZE_FIRST_FRAME) != 0);
    if (!facts) return XA::NotMpegAudio;
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
    readTags(file, info);
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

int xanalyzer_set_tag_source(XA_AnalyzerHandle handle, TagTextSource* source) {
    if (!handle) return XA::InvalidParameters;
    handle->setTagSource(source);
    return XA::Success;
}

void xanalyzer_delete(XA_AnalyzerHandle handle) { delete handle; }
