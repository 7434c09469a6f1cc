#pragma once

#include "base/MessageBoxSink.h"
#include "platform/xaudio/XaudioAnalyzer.h"
#include "splitjoin/PartInfo.h"

#include <string>
#include <vector>

// What quarvel-cli info found out about one file, for its text and JSON formatters: a part's
// header, an OLD or ENC file's kind and name, an MP3's analyser record and tree texts, or why
// the file could not be read.
struct InfoFacts {
    enum class Kind { Part, Legacy, Mp3, Failed };

    // The texts of the analyser tree's "Track Info" branch.
    struct TrackTexts {
        std::string title, artist, album, year, comment, genre, track;
    };

    std::string path;
    Kind kind = Kind::Failed;
    PartInfo part;                    // Part and Legacy
    XA_AnalyzerInfo stream{};         // Mp3: the record's numbers (its text pointers are cleared)
    TrackTexts track;                 // Mp3
    std::vector<std::string> mpegInfo; // Mp3: the "MPEG Info" lines as the tree shows them
    std::string tagsCarried;          // Mp3
    std::string error;                // Failed: the reason, for a message or the error object

    // A part whose checksum does not hold counts as failed as well: it is damaged, or the key is wrong.
    bool failed() const { return kind == Kind::Failed || (kind == Kind::Part && !part.checksumHolds); }

    // Reads the file at path; never throws. key: the crypt key a part's checksum is checked with.
    static InfoFacts read(const std::string& path, const std::string& key, MessageBoxSink& messages);
};
