#pragma once

#include "metadata/Id3TagTexts.h"
#include "platform/xaudio/XaudioAnalyzer.h"

#include <string>

// One MP3 file as the Player's analyser tree sees it: the analyser's record and the tag record,
// both from one open of the file (the analyser hands it to the tag record's reader).
class AnalysedMp3 {
public:
    explicit AnalysedMp3(MessageBoxSink& messages);
    AnalysedMp3(const AnalysedMp3&) = delete;
    AnalysedMp3& operator=(const AnalysedMp3&) = delete;
    ~AnalysedMp3();

    // The analyser's result: 0 when the file holds MPEG audio; the tags are read only then.
    // flags: XA_AnalyzerFlags (0 walks over every frame).
    int analyse(const std::string& path, int flags = 0);

    const XA_AnalyzerInfo& info() const { return info_; }
    CID3TagFile& tags() { return tagTexts_.tags(); }
    TagPresence presence() const { return tagTexts_.tags().Presence(); }
    // The genre name the tree shows: the record's genre number's, else the ID3v2 genre name.
    std::string genreName() const;
    // "ID3v1 and ID3v2", "ID3v1", "ID3v2" or "none".
    std::string tagsCarried() const;

private:
    Id3TagTexts tagTexts_;
    XA_AnalyzerHandle handle_ = nullptr;
    XA_AnalyzerInfo info_{};
};
