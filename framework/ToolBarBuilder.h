#pragma once

class CommandTable;
class QToolBar;
class QWidget;

// Builds a toolbar from a toolbar table: the buttons share the command table's actions, so
// they carry the tooltips, the fly-by status prompts and the states of the update pass.
class ToolBarBuilder {
public:
    static QToolBar* build(int resourceId, int barId, CommandTable& commands, QWidget* parent);
};
