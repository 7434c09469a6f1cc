#pragma once

#include "resources/MenuTable.h"

class CommandTable;
class CommandTarget;
class QMenu;
class QMenuBar;
class QWidget;

// Builds Qt menus from the menu tables. Menu bars share the command table's actions; an entry
// whose text differs from its action's (one id, two texts in two menus) gets an action of its
// own that follows the shared one. Context popups act on one window directly.
class MenuBuilder {
public:
    // Replaces the contents of the bar with the menu of that resource id.
    static void fillMenuBar(QMenuBar* bar, int resourceId, CommandTable& commands);
    // A popup whose entries run the target's commands, with their states taken when it opens.
    static QMenu* contextPopup(const MenuItem& popup, CommandTarget& target, QWidget* parent);

private:
    static void fillMenu(QMenu* menu, const std::vector<MenuItem>& items, CommandTable& commands);
};
