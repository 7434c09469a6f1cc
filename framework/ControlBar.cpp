#include "framework/ControlBar.h"

#include "framework/ControlId.h"
#include "resources/ResourceIds.h"

#include <QMainWindow>

#include <set>

ControlBar::ControlBar(const QString& caption, QMainWindow* frame, Qt::DockWidgetAreas allowedSides)
    : QDockWidget(caption, frame) {
    // Our own id is still 0 here, so the search does not count this bar.
    barId_ = firstFreeBarId(frame);
    ControlId::set(this, barId_);
    setAllowedAreas(allowedSides);
}

int ControlBar::firstFreeBarId(const QMainWindow* frame) {
    std::set<int> used;
    for (const ControlBar* bar : frame->findChildren<ControlBar*>()) used.insert(bar->barId());
    for (int id = FIRST_CONTROL_BAR_ID; id <= FIRST_CONTROL_BAR_ID + 1000; ++id)
        if (!used.count(id)) return id;
    return 0;
}
