// libFuzzer target for the MPEG stream scanner and the analyser: any bytes as an MP3 file.
// The scanner reads the file block by block; a plain walk over the bytes in memory, following
// the same rules, must find the same frames. The analyser must agree with the scanner and hand
// out UTF-8 texts only.

#include "base/FileHandle.h"
#include "base/Utf8Text.h"
#include "fuzz/FuzzScratch.h"
#include "metadata/Id3TagTexts.h"
#include "platform/xaudio/AudioRegion.h"
#include "platform/xaudio/MpegFrameHeader.h"
#include "platform/xaudio/MpegStreamScanner.h"
#include "platform/xaudio/XaudioAnalyzer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

// The walk over the audio region held in memory: a frame counts when a valid header follows it
// or it ends where the audio ends, or (after the first) when no frame can be found in the bytes
// behind it; the first one must also agree with its follower in level, layer and rate. After
// damage the walk looks for the next such frame.
class MemoryWalk {
public:
    MemoryWalk(const std::string& bytes, AudioRegion region) : bytes_(bytes), region_(region) {}

    std::optional<MpegStreamFacts> scan(bool firstFrameOnly) const {
        auto start = sync(region_.begin);
        if (!start) return std::nullopt;
        MpegStreamFacts facts;
        facts.first = start->second;
        std::uint64_t at = start->first;
        if (isHeaderFrame(at, start->second)) {
            facts.headerFrame = true;
            at += start->second.frameLength();
        }
        while (at + 4 <= region_.end) {
            const auto header = headerAt(at);
            if (header && confirmed(at, *header, false)) {
                count(facts, *header);
                if (firstFrameOnly) break;
                at += header->frameLength();
                continue;
            }
            const auto resumed = sync(at + 1);
            if (!resumed) break;
            at = resumed->first;
        }
        return facts;
    }

private:
    std::optional<MpegFrameHeader> headerAt(std::uint64_t at) const {
        if (at + 4 > region_.end) return std::nullopt;
        return MpegFrameHeader::parse(reinterpret_cast<const std::uint8_t*>(bytes_.data()) + at);
    }

    bool confirmed(std::uint64_t at, const MpegFrameHeader& header, bool strict) const {
        const std::uint64_t next = at + header.frameLength();
        if (next == region_.end) return true;
        if (next > region_.end) return false;
        const auto following = headerAt(next);
        if (!following) return !strict && !sync(next);
        return !strict || (following->level == header.level && following->layer == header.layer &&
                           following->sampleRate == header.sampleRate);
    }

    std::optional<std::pair<std::uint64_t, MpegFrameHeader>> sync(std::uint64_t from) const {
        for (std::uint64_t at = from; at + 1 < region_.end; ++at) {
            if (static_cast<std::uint8_t>(bytes_[at]) != 0xFF || (static_cast<std::uint8_t>(bytes_[at + 1]) & 0xE0) != 0xE0)
                continue;
            const auto header = headerAt(at);
            if (header && confirmed(at, *header, true)) return std::make_pair(at, *header);
        }
        return std::nullopt;
    }

    bool isHeaderFrame(std::uint64_t at, const MpegFrameHeader& header) const {
        if (header.layer != 3) return false;
        auto holds = [&](std::size_t offset, const char* marker) {
            return offset + 4 <= header.frameLength() && at + offset + 4 <= region_.end &&
                   std::memcmp(bytes_.data() + at + offset, marker, 4) == 0;
        };
        // A CRC-protected frame may carry its tag right after the side information or two bytes
        // later (where lame writes it): both count.
        for (const std::size_t side : {header.sideInfoEnd(), header.sideInfoEnd() + (header.protectedByCrc ? 2 : 0)})
            if (holds(side, "Xing") || holds(side, "Info")) return true;
        return holds(36, "VBRI");
    }

    static void count(MpegStreamFacts& facts, const MpegFrameHeader& header) {
        if (facts.frames == 0) facts.first = header;
        const MpegFrameHeader& first = facts.first;
        if (header.level != first.level) facts.variations |= LevelVaries;
        if (header.layer != first.layer) facts.variations |= LayerVaries;
        if (header.bitrate != first.bitrate) facts.variations |= BitrateVaries;
        if (header.sampleRate != first.sampleRate) facts.variations |= FrequencyVaries;
        if (header.channelMode != first.channelMode) facts.variations |= ModeVaries;
        if (header.channels() != first.channels()) facts.variations |= ChannelsVaries;
        ++facts.frames;
        facts.audioBytes += header.frameLength();
    }

    const std::string& bytes_;
    AudioRegion region_;
};

bool sameHeader(const MpegFrameHeader& a, const MpegFrameHeader& b) {
    return a.level == b.level && a.layer == b.layer && a.bitrate == b.bitrate && a.sampleRate == b.sampleRate &&
           a.channelMode == b.channelMode && a.padding == b.padding && a.protectedByCrc == b.protectedByCrc;
}

void checkSame(const std::optional<MpegStreamFacts>& scanned, const std::optional<MpegStreamFacts>& walked,
               std::uint64_t regionSize) {
    FUZZ_CHECK(scanned.has_value() == walked.has_value());
    if (!scanned) return;
    FUZZ_CHECK(scanned->frames == walked->frames);
    FUZZ_CHECK(scanned->audioBytes == walked->audioBytes);
    FUZZ_CHECK(scanned->headerFrame == walked->headerFrame);
    FUZZ_CHECK(scanned->variations == walked->variations);
    FUZZ_CHECK(sameHeader(scanned->first, walked->first));
    FUZZ_CHECK(scanned->audioBytes <= regionSize);
    FUZZ_CHECK(std::isfinite(scanned->seconds) && scanned->seconds >= 0);
}

void checkText(const char* text) {
    if (text) FUZZ_CHECK(*text != '\0' && Utf8Text::isValid(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string path = FuzzScratch::freshFolder("mpeg") + "/in.mp3";
    FuzzScratch::write(path, input);

    FileHandle file;
    FUZZ_CHECK(file.open(path, FileHandle::Mode::Read));
    const AudioRegion region = AudioRegion::of(file);
    FUZZ_CHECK(region.begin <= region.end && region.end <= size);

    const MemoryWalk walk(input, region);
    const auto facts = MpegStreamScanner::scan(file);
    checkSame(facts, walk.scan(false), region.end - region.begin);
    const auto first = MpegStreamScanner::scan(file, true);
    checkSame(first, walk.scan(true), region.end - region.begin);
    if (first) FUZZ_CHECK(first->frames <= 1);

    Id3TagTexts tagTexts;
    XaudioAnalyzer analyzer;
    analyzer.setTagSource(&tagTexts);
    XA_AnalyzerInfo info{};
    const int result = analyzer.process(path, 0, info);
    FUZZ_CHECK((result == 0) == facts.has_value());
    if (result == 0) {
        FUZZ_CHECK(info.frames == static_cast<std::int32_t>(facts->frames));
        FUZZ_CHECK(info.layer >= 1 && info.layer <= 3);
        FUZZ_CHECK(info.channels == 1 || info.channels == 2);
        for (const char* text : {info.title, info.artist, info.album, info.year, info.comment}) checkText(text);
    }
    return 0;
}
