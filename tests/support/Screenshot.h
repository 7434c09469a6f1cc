#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

// Screenshots of the window tests that run under a real X server. They go to the folder named by
// QUARVEL_SCREENSHOT_DIR in the environment, else to <build>/screenshots.
class Screenshot {
public:
    // Lets the pending paints land for settleMs, then saves what the screen shows of the window
    // (its own painting where the screen gives nothing) as the named file; answers the picture.
    static QPixmap save(QWidget& window, const QString& name, int settleMs);

private:
    static QString folder();
};
