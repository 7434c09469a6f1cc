#include "cli/InfoFacts.h"

#include "base/FileError.h"
#include "cli/AnalysedMp3.h"
#include "metadata/AnalyzerLines.h"

namespace {

// The analyser tree's facts of an MP3 file; false when the file holds no MPEG audio.
bool readMp3(InfoFacts& facts, MessageBoxSink& messages) {
    AnalysedMp3 mp3(messages);
    if (mp3.analyse(facts.path) != 0) return false;
    const XA_AnalyzerInfo& info = mp3.info();
    auto text = [](const char* value) { return std::string(value ? value : ""); };
    facts.track = {text(info.title), text(info.artist), text(info.album), text(info.year),
                   text(info.comment), mp3.genreName(), mp3.tags().Track()};
    facts.mpegInfo = AnalyzerLines::mpegInfo(info);
    facts.tagsCarried = mp3.tagsCarried();
    // The record's texts belong to the analyser, which goes with this function.
    facts.stream = info;
    facts.stream.title = facts.stream.artist = facts.stream.album = nullptr;
    facts.stream.year = facts.stream.comment = nullptr;
    return true;
}

} // namespace

InfoFacts InfoFacts::read(const std::string& path, const std::string& key, MessageBoxSink& messages) {
    InfoFacts facts;
    facts.path = path;
    try {
        int errorNumber = 0;
        const auto part = PartInfo::read(path, key, errorNumber);
        if (!part) {
            facts.error = FileError::describe(errorNumber);
        } else if (part->isPart || part->isLegacy) {
            facts.kind = part->isPart ? Kind::Part : Kind::Legacy;
            facts.part = *part;
        } else if (readMp3(facts, messages)) {
            facts.kind = Kind::Mp3;
        } else {
            facts.error = "Keine Datei zu decodieren";
        }
    } catch (const FileError& error) {
        facts.kind = Kind::Failed;
        facts.error = error.description();
    }
    return facts;
}
