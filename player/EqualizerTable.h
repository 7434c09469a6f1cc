#pragma once

#include <array>
#include <cstdint>

// The Player's eight equalizer sliders and the component's 32-band table: each slider covers a
// run of bands, and each band takes the negated slider position (a vertical slider grows
// downwards, so raising a knob raises its bands). Left and right get the same 32 values.
class EqualizerTable {
public:
    using Bytes = std::array<std::int8_t, 64>;
    using Positions = std::array<int, 8>;

    struct Slider {
        int controlId;
        const char* settingsKey;
        int range; // positions from -range to range
        int firstBand;
        int lastBand;
    };

    static const std::array<Slider, 8>& sliders();
    // The position clamped to the slider's range, as the slider itself clamps it.
    static int clamp(std::size_t slider, int position);
    // The table for the component from eight slider positions (clamped first).
    static Bytes build(const Positions& positions);
    // The slider positions that show a reported table: the negated bytes of bands 0, 1, 2, 4, 6,
    // 8, 14 and 20 of the left channel.
    static Positions positionsOf(const std::int8_t* table);
};
