#include "splitjoin/PartType.h"

#include <array>

std::string_view PartType::label(int type) {
    static constexpr std::array<std::string_view, 18> labels = {
        "None", "Name", "Data", "VYX", "GEO", "GN",  "GD",  "GVYX",  "PART",
        "PN",   "PD",   "PVYX", "GP",  "GPN", "GPD", "GPVYX", "ENC", "OLD"};
    if (type < 0 || type >= static_cast<int>(labels.size())) return labels[0];
    return labels[static_cast<std::size_t>(type)];
}
