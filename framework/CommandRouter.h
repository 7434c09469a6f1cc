#pragma once

#include "framework/CommandState.h"

#include <functional>
#include <vector>

class CommandTarget;

// Hands a command to the first window of the chain that handles it: the active module form,
// its child frame, the main frame, the application. A command nobody handles is disabled.
class CommandRouter {
public:
    using Chain = std::function<std::vector<CommandTarget*>()>;

    void setChain(Chain chain) { chain_ = std::move(chain); }
    // Runs the command; false when no window handles it.
    bool execute(int id) const;
    CommandState stateOf(int id) const;

private:
    Chain chain_;
};
