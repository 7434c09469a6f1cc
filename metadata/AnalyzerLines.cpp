#include "metadata/AnalyzerLines.h"

#include "base/TextFormat.h"
#include "platform/xaudio/XaudioAnalyzer.h"

namespace {

// A value outside its table shows as unknown; the analyser gives none such.
const char* pick(const char* const* table, int count, int index, const char* unknown) {
    return index >= 0 && index < count ? table[index] : unknown;
}

} // namespace

std::vector<std::string> AnalyzerLines::mpegInfo(const XA_AnalyzerInfo& info) {
    static const char* const levels[] = {"Level: MPEG 2.5", "Level: MPEG 1", "Level: MPEG 2"};
    static const char* const layers[] = {"Layer: Unknown", "Layer: 1", "Layer: 2", "Layer: 3"};
    static const char* const modes[] = {"stereo", "joint-stereo", "dual-channel", "single-channel"};
    static const char* const channels[] = {"None", "1 (Mono)", "2 (Stereo)"};
    std::vector<std::string> lines = {
        pick(levels, 3, info.level, "Level: Unknown"),
        pick(layers, 4, info.layer, "Layer: Unknown"),
        TextFormat::format("Bitrate: %d bps", info.bitrate),
        TextFormat::format("Frequency: %d Hz", info.frequency),
        TextFormat::format("Mode: %s", pick(modes, 4, info.mode, "unknown")),
        TextFormat::format("Channels: %s", pick(channels, 3, info.channels, "unknown")),
        TextFormat::format("Frames: %d", info.frames),
        duration(info.duration),
    };
    static const char* const constants[] = {"Level constant: %s",     "Layer constant: %s", "Bitrate constant: %s",
                                            "Frequency constant: %s", "Mode constant: %s",  "Channels constant: %s"};
    for (int bit = 0; bit < 6; ++bit) {
        const bool varies = (info.variations >> bit) & 1;
        lines.push_back(TextFormat::format(constants[bit], varies ? "No" : "Yes"));
    }
    return lines;
}

std::string AnalyzerLines::duration(std::uint32_t milliseconds) {
    const unsigned minutes = milliseconds / 60000;
    const unsigned seconds = milliseconds / 1000 % 60;
    return TextFormat::format("Duration: %02u:%02u.%02u ", minutes, seconds, milliseconds % 1000);
}
