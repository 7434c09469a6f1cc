#pragma once

#include <QIcon>

// The icon of a command's menu entries and buttons, and the icon of each module window (by its
// template's resource id). Our own drawings from resources/icons, or the style's standard icons.
class CommandIcons {
public:
    static QIcon forCommand(int command);
    static QIcon forResource(int resourceId);
};
