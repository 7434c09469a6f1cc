#include "framework/CommandTable.h"

#include "framework/CommandIcons.h"
#include "framework/ControlId.h"
#include "framework/QtText.h"
#include "resources/AcceleratorTable.h"
#include "resources/MenuTable.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace {

QString plainText(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

CommandTable::CommandTable(QObject* parent) : QObject(parent) {}

QAction* CommandTable::action(int command) {
    if (const auto found = actions_.find(command); found != actions_.end()) return found->second;
    const QString tooltip = fromStd(StringTable::tooltip(command));
    QString text = fromStd(MenuTable::commandText(command));
    if (text.isEmpty()) text = tooltip.isEmpty() ? QStringLiteral("Command %1").arg(command) : tooltip;
    auto* action = new QAction(CommandIcons::forCommand(command), text, this);
    ControlId::set(action, command);
    action->setStatusTip(fromStd(StringTable::statusText(command)));
    action->setToolTip(tooltip.isEmpty() ? plainText(text) : tooltip);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, command] {
        router_.execute(command);
        updateAll();
    });
    actions_[command] = action;
    updateAction(command);
    return action;
}

QAction* CommandTable::followingAction(int command, const QString& text, QObject* parent) {
    QAction* shared = action(command);
    auto* own = new QAction(shared->icon(), text, parent);
    ControlId::set(own, command);
    own->setStatusTip(shared->statusTip());
    own->setToolTip(shared->toolTip());
    auto follow = [own, shared] {
        own->setEnabled(shared->isEnabled());
        own->setCheckable(shared->isCheckable());
        own->setChecked(shared->isChecked());
    };
    follow();
    connect(shared, &QAction::changed, own, follow);
    connect(own, &QAction::triggered, shared, [shared] { shared->trigger(); });
    return own;
}

void CommandTable::installAccelerators(QWidget* window, int acceleratorId) {
    std::map<int, QList<QKeySequence>> keys;
    for (const auto& accelerator : AcceleratorTable::accelerators(acceleratorId))
        keys[accelerator.command].append(QKeySequence(fromStd(accelerator.keys)));
    for (const auto& [command, sequences] : keys) {
        QAction* commandAction = action(command);
        commandAction->setShortcuts(sequences);
        window->addAction(commandAction);
    }
}

void CommandTable::updateAction(int command) {
    QAction* commandAction = action(command);
    const CommandState state = router_.stateOf(command);
    commandAction->setEnabled(state.handled && state.enabled);
    commandAction->setCheckable(state.checkable);
    if (state.checkable) commandAction->setChecked(state.checked);
}

void CommandTable::updateAll() {
    for (const auto& [command, commandAction] : actions_) updateAction(command);
}
