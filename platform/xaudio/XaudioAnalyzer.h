#pragma once

// The analyser's entry points: a full walk over an MPEG audio file's frames and its tag texts,
// delivered in one record.

#include <cstdint>
#include <string>

class FileHandle;
class TagTextSource;

// The record xanalyzer_process_file fills. Its text pointers stay valid until the next call
// with the same handle or until the handle is deleted; a text the file lacks is null.
struct XA_AnalyzerInfo {
    std::int32_t level;      // 0 MPEG 2.5, 1 MPEG 1, 2 MPEG 2
    std::int32_t layer;      // 1, 2, 3 (0 unknown)
    std::int32_t bitrate;    // bit/s: the frames' bitrate, or their average when it varies
    std::int32_t frequency;  // Hz
    std::int32_t mode;       // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    std::int32_t channels;   // 0 none, 1 mono, 2 stereo
    const char* title;       // UTF-8, as the handle's TagTextSource reads it (none without one)
    const char* artist;
    const char* album;
    const char* year;
    const char* comment;
    std::uint8_t genre;      // ID3v1 genre number, 255 when the file names none
    std::int32_t frames;     // audio frames (a Xing, Info or VBRI header frame is not counted)
    std::uint32_t duration;  // milliseconds
    std::int32_t variations; // bit 0 level, 1 layer, 2 bitrate, 3 frequency, 4 mode, 5 channels
};

// Flags of xanalyzer_process_file. 0 walks over every frame.
enum XA_AnalyzerFlags : int {
    XA_ANALYZE_FIRST_FRAME = 1, // stop at the first audio frame: frames and duration count only it
};

// The object behind an analyser handle: it owns the texts the record points to. The file is
// opened once: the walk over its frames and the tag reader share that open file.
class XaudioAnalyzer {
public:
    // The reader of the record's tag texts (not owned; null: the record carries no texts and
    // genre 255).
    void setTagSource(TagTextSource* source) { tagSource_ = source; }
    // 0 on success, an XA error code otherwise (the record is left as it was then).
    int process(const std::string& path, int flags, XA_AnalyzerInfo& info);

private:
    void readTags(FileHandle& file, XA_AnalyzerInfo& info);

    TagTextSource* tagSource_ = nullptr;
    std::string title_, artist_, album_, year_, comment_;
};

using XA_AnalyzerHandle = XaudioAnalyzer*;

// 0 on success; the new handle is stored in *handle.
int xanalyzer_new(XA_AnalyzerHandle* handle);
// Analyses the file at path (UTF-8) into *info, with XA_AnalyzerFlags. The reserved arguments
// are passed as 0 and ignored. 0 on success; non-zero when the file cannot be read
// or holds no MPEG audio.
int xanalyzer_process_file(XA_AnalyzerHandle handle, const char* path, int flags, int reserved,
                           XA_AnalyzerInfo* info, int reserved2, int reserved3, int reserved4);
// Hands the analyser the reader of its tag texts; it must outlive the handle's use.
int xanalyzer_set_tag_source(XA_AnalyzerHandle handle, TagTextSource* source);
void xanalyzer_delete(XA_AnalyzerHandle handle);
