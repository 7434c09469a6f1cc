#pragma once

class CommandTable;
class QString;
class QToolBar;
class QWidget;

// Builds a toolbar from a toolbar table: the buttons share the command table's actions, so
// they carry the tooltips, the fly-by status prompts and the states of the update pass.
class ToolBarBuilder {
public:
    static QToolBar* build(int resourceId, int barId, CommandTable& commands, QWidget* parent);
    // The name a screen reader announces for the bar, and for the button that shows the commands
    // for which the bar has no room.
    static void nameForScreenReaders(QToolBar* bar, const QString& name);
};
