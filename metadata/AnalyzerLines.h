#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct XA_AnalyzerInfo;

// The texts of the analyser tree's "MPEG Info" branch, made from the analyser's record.
class AnalyzerLines {
public:
    // The lines in the tree's order: level, layer, bitrate, frequency, mode, channels, frames,
    // duration and the six "... constant" lines.
    static std::vector<std::string> mpegInfo(const XA_AnalyzerInfo& info);
    // "Duration: %02d:%02d.%02d " with minutes, seconds and the milliseconds within the second.
    static std::string duration(std::uint32_t milliseconds);
};
