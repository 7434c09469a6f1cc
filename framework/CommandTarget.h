#pragma once

#include "framework/CommandState.h"

#include <functional>
#include <map>

// A window that handles commands: for each command id an "execute" and an optional "update"
// that may disable the command or set its check mark.
class CommandTarget {
public:
    using Execute = std::function<void()>;
    using Update = std::function<void(CommandState&)>;

    virtual ~CommandTarget() = default;

    void addCommand(int id, Execute execute, Update update = {}) { handlers_[id] = Handler{std::move(execute), std::move(update)}; }
    void addCommandRange(int first, int last, std::function<void(int)> execute) {
        for (int id = first; id <= last; ++id) addCommand(id, [execute, id] { execute(id); });
    }
    bool handles(int id) const { return handlers_.count(id) != 0; }

    // The command's state as this target sees it; handled is false when it does not handle it.
    CommandState stateOf(int id) const {
        CommandState state;
        const auto found = handlers_.find(id);
        if (found == handlers_.end()) return state;
        state.handled = true;
        state.enabled = true;
        if (found->second.update) found->second.update(state);
        return state;
    }

    // Runs the command when this target handles it and it is enabled.
    bool execute(int id) {
        const CommandState state = stateOf(id);
        if (!state.handled) return false;
        if (state.enabled) {
            beforeCommand();
            handlers_[id].execute();
        }
        return true;
    }

protected:
    // Runs before every command this target executes, however it was given (button, toolbar,
    // menu, key): a form reads its controls here, so that no command works on stale values.
    virtual void beforeCommand() {}

private:
    struct Handler {
        Execute execute;
        Update update;
    };
    std::map<int, Handler> handlers_;
};
