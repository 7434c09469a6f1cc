#pragma once

#include "framework/CommandTarget.h"

class ChildFrame;

// The side of a module form that the frames talk to. A form handles its own commands first
// (it is the first command target of the chain) and receives its initial update once its child
// frame stands.
class ModuleForm : public CommandTarget {
public:
    virtual void initialUpdate(ChildFrame& frame) = 0;
};
