#pragma once

#include <QRect>
#include <QSize>

#include <optional>

class SettingsStore;

// Where the main window opens and how it remembers that: the last size and position from the
// settings, else the default size, always shrunk and moved so that the window lies on the
// screen's available area (a scaled or small screen must not get a window larger than itself).
class FrameGeometry {
public:
    // Shows every module form whole at the program's normal text size.
    static constexpr QSize DefaultSize{1000, 700};

    // The window's rectangle on the available area; no position when the system is to place it.
    struct Placement {
        QSize size;
        std::optional<QPoint> position;
    };
    static Placement initial(const SettingsStore& settings, const QRect& available);
    static void store(SettingsStore& settings, const QRect& geometry);
    // The rectangle (or size) shrunk and moved to lie within the available area.
    static Placement clamped(Placement wanted, const QRect& available);
};
