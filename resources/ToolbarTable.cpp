#include "resources/ToolbarTable.h"

#include "resources/ResourceIds.h"

#include <map>

namespace {

constexpr int kGap = ToolbarTable::kSeparator;

const std::map<int, std::vector<int>>& toolbars() {
    static const std::map<int, std::vector<int>> all = {
        {IDR_MAINFRAME,
         {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, kGap, ID_FILE_PRINT, kGap, ID_APP_ABOUT, kGap, ID_DECODER,
          ID_PLAYER, ID_CONVERTER, kGap, ID_FTP, kGap, ID_ENCODER, kGap, ID_HELP, ID_BROWSE_BACK, ID_BROWSE_FORWARD,
          ID_BROWSE_STOP, kGap, ID_BROWSE_REFRESH, ID_BROWSE_HOME, kGap, ID_FILE_CLOSE}},
        {IDR_DECODER_TOOLBAR,
         {ID_DECODE, kGap, ID_LIST_RENAME, ID_LIST_REFRESH, kGap, ID_HELP, kGap, ID_FILE_CLOSE, kGap, ID_LIST_DELETE,
          kGap, ID_CHECK_SET, ID_OPEN_URL}},
        {IDR_PLAYER,
         {IDC_PLAY, ID_PLAYER_PAUSE, IDC_STOP, IDC_EQUALIZER, IDC_SPECTRUM, IDC_OSCILLOSCOPE, IDC_VU, ID_HELP,
          ID_FILE_CLOSE}},
        {IDR_ENCODER,
         {ID_SPLIT, kGap, ID_LIST_RENAME, ID_LIST_REFRESH, kGap, ID_HELP, kGap, ID_FILE_CLOSE, kGap, ID_LIST_DELETE,
          kGap, ID_SHOW_PAGE}},
        {IDR_CONVERTER,
         {ID_START_CONVERT, ID_LIST_RENAME, ID_LIST_REFRESH, kGap, ID_HELP, kGap, ID_FILE_CLOSE, kGap,
          ID_LIST_DELETE}},
    };
    return all;
}

}  // namespace

const std::vector<int>& ToolbarTable::buttons(int resourceId) {
    static const std::vector<int> none;
    const auto found = toolbars().find(resourceId);
    return found == toolbars().end() ? none : found->second;
}

int ToolbarTable::buttonSize(int resourceId) {
    return resourceId == IDR_ENCODER || resourceId == IDR_DECODER_TOOLBAR ? 32 : 16;
}
