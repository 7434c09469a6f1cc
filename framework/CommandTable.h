#pragma once

#include "framework/CommandRouter.h"

#include <QObject>

#include <map>

class QAction;
class QWidget;

// One QAction per command id, shared by every menu, toolbar and accelerator: its text, status
// prompt, tooltip, shortcuts and icon come from the tables of resources/. Triggering an action
// routes its command; the update pass enables, disables and checks the actions.
class CommandTable : public QObject {
    Q_OBJECT
public:
    explicit CommandTable(QObject* parent = nullptr);

    CommandRouter& router() { return router_; }
    // The action of the command, made on first use.
    QAction* action(int command);
    // An action of parent's own that carries the command under another text: it follows the
    // shared action's state and triggers it.
    QAction* followingAction(int command, const QString& text, QObject* parent);
    // Gives the actions their accelerator keys of table acceleratorId and adds them to window,
    // so that the keys work wherever the focus is inside it.
    void installAccelerators(QWidget* window, int acceleratorId);
    // Routes the command as a menu entry or button would.
    bool execute(int command) { return router_.execute(command); }
    // The update pass over every action made so far.
    void updateAll();
    void updateAction(int command);

private:
    CommandRouter router_;
    std::map<int, QAction*> actions_;
};
