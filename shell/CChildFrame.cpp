#include "shell/CChildFrame.h"

#include "shell/PlayerCloseControl.h"

bool CChildFrame::acceptSystemClose() {
    auto* player = dynamic_cast<PlayerCloseControl*>(form());
    if (!player) return true;
    player->closeWhenStopped();
    return false;
}
