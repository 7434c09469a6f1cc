#include "framework/CommandRouter.h"

#include "framework/CommandTarget.h"

bool CommandRouter::execute(int id) const {
    if (!chain_) return false;
    for (CommandTarget* target : chain_())
        if (target && target->execute(id)) return true;
    return false;
}

CommandState CommandRouter::stateOf(int id) const {
    if (chain_) {
        for (CommandTarget* target : chain_()) {
            if (!target) continue;
            const CommandState state = target->stateOf(id);
            if (state.handled) return state;
        }
    }
    return CommandState{};
}
