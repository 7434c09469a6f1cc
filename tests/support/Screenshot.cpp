#include "support/Screenshot.h"

#include "support/WindowTestApp.h"

#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

QPixmap Screenshot::save(QWidget& window, const QString& name, int settleMs) {
    WindowTestApp::waitUntil([] { return false; }, settleMs);
    QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull()) shot = window.grab();
    const QString file = folder() + QLatin1Char('/') + name;
    EXPECT_TRUE(shot.save(file)) << file.toStdString();
    return shot;
}

QString Screenshot::folder() {
    const QString folder = qEnvironmentVariable("QUARVEL_SCREENSHOT_DIR", QStringLiteral(QUARVEL_SCREENSHOT_DIR));
    std::filesystem::create_directories(folder.toStdString());
    return folder;
}
