#include "resources/StringTable.h"

#include "resources/ResourceIds.h"

#include <map>

namespace {

const std::map<int, std::string>& table() {
    static const std::map<int, std::string> strings = {
        {IDS_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
        {IDS_FRAME_TITLE, "Quarvel 3.1"},
        {IDS_NO_FILE_TO_DECODE, "Keine Datei zu decodieren"},
        {IDS_HTML_FILTER, "HTML files (*.htm *.html);;All files (*)"},
        {IDS_ADDRESS_LABEL, "Address"},
        {IDS_HELP_BACK, "Back"},
        {IDS_HELP_FORWARD, "Forward"},
        {IDS_HELP_STOP, "Stop"},
        {IDS_HELP_REFRESH, "Refresh"},
        {IDS_HELP_HOME, "Home"},
        {IDS_HELP_SEARCH, "Search"},
        {IDS_HELP_FAVORITES, "Favorites"},
        {IDS_HELP_PRINT, "Print"},
        {IDS_HELP_FONT, "Font"},
        {IDS_APP_TITLE, "vyx31"},
        {IDS_IDLE_MESSAGE, "For Help, press F1"},
        {IDS_INDICATOR_CAPS, "CAP"},
        {IDS_INDICATOR_NUM, "NUM"},
        {IDS_INDICATOR_SCRL, "SCRL"},
        {IDS_PANE_READY, "Ready"},

        // Prompts of the main frame.
        {ID_VIEW_DIRTREE, "Show or hide the directory tree\nToggle Directory Tree"},
        {ID_DECODER, "VYX Split Decoder\nDecoder"},
        {ID_PLAYER, "MP3 Player\nMP3"},
        {ID_CONVERTER, "WAV Converter\nConvert"},
        {ID_FTP, "FTP Client\nFTP"},
        {ID_ENCODER, "Encode & Split\nEncoder"},
        {ID_HELP, "Display help for current task or command\nHelp"},
        {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},

        // Prompts of the standard commands.
        {ID_FILE_NEW, "Create a new document\nNew"},
        {ID_FILE_OPEN, "Open an existing document\nOpen"},
        {ID_FILE_CLOSE, "Close the active window\nClose"},
        {ID_FILE_SAVE, "Save the active document\nSave"},
        {ID_FILE_PRINT, "Print the active page\nPrint"},
        {ID_FILE_PRINT_PREVIEW, "Show the page as it will be printed\nPrint Preview"},
        {ID_FILE_PRINT_SETUP, "Choose the printer and its options\nPrint Setup"},
        {ID_EDIT_COPY, "Copy the selection to the clipboard\nCopy"},
        {ID_EDIT_CUT, "Move the selection to the clipboard\nCut"},
        {ID_EDIT_PASTE, "Insert the clipboard contents\nPaste"},
        {ID_EDIT_UNDO, "Undo the last action\nUndo"},
        {ID_APP_ABOUT, "Show the program's version and copyright\nAbout"},
        {ID_APP_EXIT, "Quit the program\nExit"},
        {ID_HELP_INDEX, "List the help topics\nHelp Topics"},
        {ID_HELP_FINDER, "List the help topics\nHelp Topics"},
        {ID_CONTEXT_HELP, "Show help for the next item clicked\nHelp"},
        {ID_NEXT_PANE, "Move to the next pane\nNext Pane"},
        {ID_PREV_PANE, "Move to the previous pane\nPrevious Pane"},

        // Prompts of the module forms.
        {ID_SPLIT, "Encode & Split\nEncoder"},
        {ID_DECODE, "Decode File Splits\nDecode"},
        {ID_CHECK_SET, "Check every part of the picked set without writing anything\nCheck Set"},
        {ID_OPEN_URL, "Join a set straight from the web address of a part or of its page\nOpen Url"},
        {ID_SHOW_PAGE, "Show the download page of the last split\nShow Page"},

        // Prompts of the Help browser.
        {ID_BROWSE_BACK, "Go back to the previous page\nBack"},
        {ID_BROWSE_FORWARD, "Go forward to the next page\nForward"},
        {ID_BROWSE_STOP, "Stop\nStop"},
        {ID_BROWSE_REFRESH, "Refresh\nRefresh"},
        {ID_BROWSE_HOME, "Goto start page\nHome"},
        {ID_BROWSE_SEARCH, "Opens your search page.\nSearch the Internet"},
        {ID_BROWSE_FAVORITES, "View list of your personal favorites.\nFavorites"},
        {ID_BROWSE_FONT, "Change font size.\nFonts"},
        {ID_FILE_OPEN_FILE, "Open file\nOpen file"},
    };
    return strings;
}

}  // namespace

std::string StringTable::text(int id) {
    const auto found = table().find(id);
    return found == table().end() ? std::string() : found->second;
}

std::string StringTable::statusText(int commandId) {
    const std::string prompt = text(commandId);
    return prompt.substr(0, prompt.find('\n'));
}

std::string StringTable::tooltip(int commandId) {
    const std::string prompt = text(commandId);
    const auto lineBreak = prompt.find('\n');
    return lineBreak == std::string::npos ? std::string() : prompt.substr(lineBreak + 1);
}
