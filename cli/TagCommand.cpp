#include "cli/TagCommand.h"

#include "cli/AnalysedMp3.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "metadata/GenreTable.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <cstdio>

const char* TagCommand::usage() {
    return "usage: quarvel-cli tag FILE.mp3 [--title T] [--artist A] [--album B] [--year Y]\n"
           "                               [--comment C] [--track N] [--genre NAME]\n"
           "\n"
           "Writes the file's tags with the texts it has and the ones given. A file that carries an\n"
           "ID3v2 tag gets it rewritten (frames other than these texts, such as pictures, are kept);\n"
           "every file gets an ID3v1 tag, in place of the old one or appended. --genre takes a name\n"
           "of the ID3v1 genre list (letter case aside) or its number; another name is written to\n"
           "the ID3v2 tag only. Prints which tags were updated; exit status 1 when none was (a failed\n"
           "write leaves the file as it was).\n";
}

namespace {

// Tag-writing messages are message boxes in the Player; here they go to standard error.
struct ConsoleBoxes : MessageBoxSink {
    explicit ConsoleBoxes(ConsoleReporter& console) : reporter(console) {}
    void showStopBox(const std::string& text) override { reporter.setStatus(text); }
    ConsoleReporter& reporter;
};

void applyGenre(CID3TagFile& tags, const std::string& name) {
    int number = GenreTable::indexOfIgnoringCase(name);
    if (number < 0 && !name.empty() && name.size() <= 3 && name.find_first_not_of("0123456789") == std::string::npos)
        number = std::stoi(name) < 256 ? std::stoi(name) : -1;
    tags.SetGenreNumber(number < 0 ? 255 : number);
    tags.SetGenreText(number >= 0 && number < GenreTable::Count ? std::string(GenreTable::name(number)) : name);
}

// The texts as read, then the options given.
void applyTexts(const CommandLine& line, AnalysedMp3& mp3) {
    CID3TagFile& tags = mp3.tags();
    const XA_AnalyzerInfo& info = mp3.info();
    tags.SetGenreNumber(info.genre);
    if (tags.GenreText().empty()) tags.SetGenreText(mp3.genreName());
    const struct {
        const char* option;
        void (CID3TagFile::*set)(std::string);
    } options[] = {{"--title", &CID3TagFile::SetTitle},     {"--artist", &CID3TagFile::SetArtist},
                   {"--album", &CID3TagFile::SetAlbum},     {"--year", &CID3TagFile::SetYear},
                   {"--comment", &CID3TagFile::SetComment}, {"--track", &CID3TagFile::SetTrack}};
    for (const auto& option : options)
        if (const auto value = line.value(option.option)) (tags.*option.set)(*value);
    if (const auto genre = line.value("--genre")) applyGenre(tags, *genre);
}

} // namespace

int TagCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {"--title", "--artist", "--album", "--year", "--comment", "--track", "--genre"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    ConsoleReporter reporter;
    ConsoleBoxes boxes(reporter);
    AnalysedMp3 mp3(boxes);
    const std::string& path = line.positional().front();
    TagsWritten written;
    // Writing needs the tags and the proof that the file holds MPEG audio, not a walk over all of it.
    if (const int result = mp3.analyse(path, XA_ANALYZE_FIRST_FRAME); result != 0) {
        reporter.error(path + ": " + xaudio_error_string(result));
    } else if (!mp3.tags().IsEditable()) {
        reporter.error(path + ": a WAV or Ogg file takes no ID3 tag");
    } else {
        applyTexts(line, mp3);
        written = mp3.tags().WriteTags();
    }
    std::printf("%s\n", written.statusText());
    return written.any() ? 0 : 1;
}
