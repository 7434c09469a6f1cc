#include "player/EqualizerTable.h"

#include <algorithm>

const std::array<EqualizerTable::Slider, 8>& EqualizerTable::sliders() {
    static const std::array<Slider, 8> table{{
        {1089, "Slider1", 20, 0, 0},
        {1090, "Slider2", 20, 1, 1},
        {1091, "Slider3", 30, 2, 3},
        {1092, "Slider4", 40, 4, 5},
        {1093, "Slider5", 60, 6, 7},
        {1094, "Slider6", 80, 8, 13},
        {1095, "Slider7", 90, 14, 19},
        {1096, "Slider8", 100, 20, 31},
    }};
    return table;
}

int EqualizerTable::clamp(std::size_t slider, int position) {
    const int range = sliders().at(slider).range;
    return std::clamp(position, -range, range);
}

EqualizerTable::Bytes EqualizerTable::build(const Positions& positions) {
    Bytes bytes{};
    for (std::size_t s = 0; s < sliders().size(); ++s) {
        const auto value = static_cast<std::int8_t>(-clamp(s, positions[s]));
        for (int band = sliders()[s].firstBand; band <= sliders()[s].lastBand; ++band) {
            bytes[band] = value;
            bytes[32 + band] = value;
        }
    }
    return bytes;
}

EqualizerTable::Positions EqualizerTable::positionsOf(const std::int8_t* table) {
    Positions positions{};
    for (std::size_t s = 0; s < sliders().size(); ++s) positions[s] = -table[sliders()[s].firstBand];
    return positions;
}
