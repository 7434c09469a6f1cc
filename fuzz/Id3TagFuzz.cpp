// libFuzzer target for the tag reader and the stream analyser: any bytes as an MP3 file are read
// in the analyser tree's order, a new ID3v2 tag is built from them, and the frames are walked.
// Build and run with fuzz/run_id3_fuzz.sh.

#include "metadata/CID3TagFile.h"
#include "metadata/Id3TagTexts.h"
#include "platform/xaudio/XaudioAnalyzer.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

struct NoMessages : MessageBoxSink {
    void showStopBox(const std::string&) override {}
};

std::string scratchFile() {
    char name[] = "/tmp/quarvel-id3-fuzz-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchFile();
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    NoMessages messages;
    CID3TagFile tags(messages);
    for (TagMode mode : {TagMode::ModeV1, TagMode::ModeV2}) {
        tags.Release();
        tags.Reset();
        tags.DetectTags(path);
        tags.SetMode(mode);
        tags.Read(path);
        tags.SetTitle(tags.Title() + "\xE2\x82\xAC");
        tags.BuildV2();
    }
    Id3TagTexts tagTexts;
    XaudioAnalyzer analyzer;
    analyzer.setTagSource(&tagTexts);
    XA_AnalyzerInfo info{};
    analyzer.process(path, 0, info);
    return 0;
}
