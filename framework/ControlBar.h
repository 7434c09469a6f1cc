#pragma once

#include <QDockWidget>

class QMainWindow;

// A docking bar of a frame, restricted to the sides it may dock at, carrying the first bar id
// from 100 upward that no bar of the frame uses yet.
class ControlBar : public QDockWidget {
    Q_OBJECT
public:
    ControlBar(const QString& caption, QMainWindow* frame, Qt::DockWidgetAreas allowedSides);

    int barId() const { return barId_; }
    // The first id from 100 upward that no control bar of the frame carries; searches at most
    // 1000 further values and answers 0 when all are taken.
    static int firstFreeBarId(const QMainWindow* frame);

private:
    int barId_ = 0;
};
