#include "framework/ToolBarBuilder.h"

#include "framework/CommandTable.h"
#include "framework/ControlId.h"
#include "resources/ToolbarTable.h"

#include <QToolBar>

QToolBar* ToolBarBuilder::build(int resourceId, int barId, CommandTable& commands, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    ControlId::set(bar, barId);
    bar->setWindowTitle(QStringLiteral("Toolbar"));
    nameForScreenReaders(bar, bar->windowTitle());
    const int size = ToolbarTable::buttonSize(resourceId);
    bar->setIconSize(QSize(size, size));
    for (const int command : ToolbarTable::buttons(resourceId)) {
        if (command == ToolbarTable::kSeparator)
            bar->addSeparator();
        else
            bar->addAction(commands.action(command));
    }
    return bar;
}

void ToolBarBuilder::nameForScreenReaders(QToolBar* bar, const QString& name) {
    bar->setAccessibleName(name);
    if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}
