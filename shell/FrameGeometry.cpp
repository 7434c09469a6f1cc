#include "shell/FrameGeometry.h"

#include "base/SettingsStore.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Frame";
// A window smaller than this is taken for a damaged value and replaced by the default.
constexpr int kSmallestUsable = 200;

}  // namespace

FrameGeometry::Placement FrameGeometry::initial(const SettingsStore& settings, const QRect& available) {
    Placement wanted{DefaultSize, std::nullopt};
    const int width = settings.getInt(kSection, "Width", 0);
    const int height = settings.getInt(kSection, "Height", 0);
    if (width >= kSmallestUsable && height >= kSmallestUsable) {
        wanted.size = QSize(width, height);
        constexpr int kMissing = -1'000'000;
        const int left = settings.getInt(kSection, "Left", kMissing);
        const int top = settings.getInt(kSection, "Top", kMissing);
        if (left != kMissing && top != kMissing) wanted.position = QPoint(left, top);
    }
    return clamped(wanted, available);
}

void FrameGeometry::store(SettingsStore& settings, const QRect& geometry) {
    settings.writeInt(kSection, "Left", geometry.left());
    settings.writeInt(kSection, "Top", geometry.top());
    settings.writeInt(kSection, "Width", geometry.width());
    settings.writeInt(kSection, "Height", geometry.height());
}

FrameGeometry::Placement FrameGeometry::clamped(Placement wanted, const QRect& available) {
    if (!available.isValid()) return wanted;
    wanted.size = wanted.size.boundedTo(available.size());
    if (wanted.position) {
        // A position from another screen layout: keep the window whole on this one.
        const int left = std::clamp(wanted.position->x(), available.left(), available.right() + 1 - wanted.size.width());
        const int top = std::clamp(wanted.position->y(), available.top(), available.bottom() + 1 - wanted.size.height());
        wanted.position = QPoint(left, top);
    }
    return wanted;
}
