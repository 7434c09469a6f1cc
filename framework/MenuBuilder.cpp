#include "framework/MenuBuilder.h"

#include "framework/CommandTable.h"
#include "framework/CommandTarget.h"
#include "framework/ControlId.h"
#include "framework/QtText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void MenuBuilder::fillMenuBar(QMenuBar* bar, int resourceId, CommandTable& commands) {
    bar->clear();
    for (const auto& item : MenuTable::menu(resourceId)) {
        QMenu* menu = bar->addMenu(fromStd(item.text));
        fillMenu(menu, item.items, commands);
    }
}

void MenuBuilder::fillMenu(QMenu* menu, const std::vector<MenuItem>& items, CommandTable& commands) {
    QObject::connect(menu, &QMenu::aboutToShow, &commands, [&commands] { commands.updateAll(); });
    for (const auto& item : items) {
        if (item.isSeparator()) {
            menu->addSeparator();
        } else if (item.isPopup()) {
            fillMenu(menu->addMenu(fromStd(item.text)), item.items, commands);
        } else {
            QAction* shared = commands.action(item.command);
            const QString text = fromStd(item.text);
            menu->addAction(shared->text() == text ? shared : commands.followingAction(item.command, text, menu));
        }
    }
}

QMenu* MenuBuilder::contextPopup(const MenuItem& popup, CommandTarget& target, QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const auto& item : popup.items) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(fromStd(item.text));
        ControlId::set(action, item.command);
        const int command = item.command;
        QObject::connect(action, &QAction::triggered, menu, [&target, command] { target.execute(command); });
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &target] {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            const CommandState state = target.stateOf(ControlId::of(action));
            action->setEnabled(state.handled && state.enabled);
            action->setCheckable(state.checkable);
            action->setChecked(state.checked);
        }
    });
    return menu;
}
