#pragma once

#include <cstdint>
#include <functional>

// How far a long operation (split, join, tag rewrite) has come. The window shows it in its
// status bar and repaints; quarvel-cli prints a progress line.
struct Progress {
    std::uint64_t part = 0;      // the part being written or read, from 0
    std::uint64_t partCount = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

using ProgressCallback = std::function<void(const Progress&)>;
