#pragma once

#include "framework/ChildFrame.h"

// The child frame of every module window. Its close box does not close the Player's window at
// once: it asks the Player to stop, and the Player closes its window when it has stopped.
class CChildFrame : public ChildFrame {
    Q_OBJECT
public:
    using ChildFrame::ChildFrame;

protected:
    bool acceptSystemClose() override;
};
