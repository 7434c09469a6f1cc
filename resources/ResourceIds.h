#pragma once

// Every numeric identifier the program shares between menus, toolbars, accelerators, the string
// table, dialogs and controls. Identifiers that two features share keep both names with one value.

// Resources: menus, toolbars, icons and document templates.
constexpr int IDR_MAINFRAME = 110;
constexpr int IDR_DECODER = 111;
constexpr int IDR_FONTMENU = 116;
constexpr int IDR_HELP = 119;
constexpr int IDR_POPUPS = 120;
constexpr int IDR_DECODER_TOOLBAR = 204;
constexpr int IDR_PLAYER = 207;
constexpr int IDR_ENCODER = 213;
constexpr int IDR_CONVERTER = 214;

// Dialog templates.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_FTP_PARAMETER = 121;
constexpr int IDD_GENRE = 292;
constexpr int IDD_ID3TAG = 293;
constexpr int IDD_ADD_URL = 294;

// Strings.
constexpr int IDS_SOCKETS_INIT_FAILED = 105;
constexpr int IDS_FRAME_TITLE = 110;
constexpr int IDS_NO_FILE_TO_DECODE = 113;
constexpr int IDS_HTML_FILTER = 115;
constexpr int IDS_ADDRESS_LABEL = 117;
constexpr int IDS_HELP_BACK = 748;
constexpr int IDS_HELP_FORWARD = 749;
constexpr int IDS_HELP_STOP = 750;
constexpr int IDS_HELP_REFRESH = 751;
constexpr int IDS_HELP_HOME = 752;
constexpr int IDS_HELP_SEARCH = 753;
constexpr int IDS_HELP_FAVORITES = 754;
constexpr int IDS_HELP_PRINT = 755;
constexpr int IDS_HELP_FONT = 756;
constexpr int IDS_APP_TITLE = 57344;
constexpr int IDS_IDLE_MESSAGE = 57345;
constexpr int IDS_INDICATOR_CAPS = 59137;
constexpr int IDS_INDICATOR_NUM = 59138;
constexpr int IDS_INDICATOR_SCRL = 59139;
constexpr int IDS_PANE_READY = 59142;

// Standard commands of the window framework.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_INDEX = 57667;
constexpr int ID_CONTEXT_HELP = 57669;
constexpr int ID_HELP = 57670;
constexpr int ID_HELP_FINDER = 57671;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// Main frame commands.
constexpr int ID_VIEW_DIRTREE = 32771;
constexpr int ID_DECODER = 32780;
constexpr int ID_ENCODER = 32815;
constexpr int ID_PLAYER = 32777;
constexpr int ID_CONVERTER = 32825;
constexpr int ID_FTP = 32778;

// Directory tree popup "Dir".
constexpr int ID_DIR_RENAME = 32797;
constexpr int ID_DIR_CREATE = 32798;
constexpr int ID_DIR_REMOVE = 32799;
constexpr int ID_DIR_REFRESH = 32792;

// File list popups "List" and "ListPlayer", and the forms' list commands.
constexpr int ID_LIST_REFRESH = 32772;
constexpr int ID_LIST_RENAME = 32774;
constexpr int ID_LIST_DELETE = 32776;
constexpr int ID_LIST_ADD_PLAYLIST = 32800;
constexpr int ID_LIST_PLAY = 32801;

// Encoder and Decoder forms.
constexpr int ID_DECODE = 32773;
constexpr int ID_SPLIT = 32775;
constexpr int ID_SHOW_PAGE = 32817;
constexpr int IDC_GET_KEY = 1086;
constexpr int ID_CHECK_SET = 32860;
constexpr int ID_OPEN_URL = 32861;

// Player form.
constexpr int IDC_PLAY = 1080;
constexpr int ID_PLAYER_PAUSE = 32792;
constexpr int IDC_STOP = 1072;
constexpr int IDC_EQUALIZER = 1087;
constexpr int IDC_SPECTRUM = 1050;
constexpr int IDC_OSCILLOSCOPE = 1053;
constexpr int IDC_VU = 1055;

// Playlist popup "PlayList".
constexpr int ID_PLAYLIST_START = 32803;
constexpr int ID_PLAYLIST_STOP = 32804;
constexpr int ID_PLAYLIST_CLEAR_ALL = 32805;
constexpr int ID_PLAYLIST_SAVE = 32806;
constexpr int ID_PLAYLIST_DELETE = 32807;
constexpr int ID_PLAYLIST_ADD_URL = 32829;

// Analyser tree popup "Info".
constexpr int ID_INFO_EXPAND = 32808;
constexpr int ID_INFO_COLLAPSE = 32809;
constexpr int ID_INFO_EXPAND_ALL = 32810;
constexpr int ID_INFO_WRITE_ID3 = 32827;
constexpr int ID_INFO_EDIT_ID3 = 32828;

// Genre and ID3 Tag dialogs.
constexpr int IDC_GENRE_BOX = 1064;
constexpr int IDC_ID3_TITLE = 1065;
constexpr int IDC_ID3_ARTIST = 1066;
constexpr int IDC_ID3_ALBUM = 1067;
constexpr int IDC_ID3_COMMENT = 1068;
constexpr int IDC_ID3_YEAR = 1069;
constexpr int IDC_ID3_TRACK = 1070;
constexpr int IDC_ID3_GENRE = 1071;
constexpr int IDC_ID3_V1 = 1073;
constexpr int IDC_ID3_V2 = 1074;
constexpr int IDC_ID3_BOTH = 1016;

// Converter form.
constexpr int ID_START_CONVERT = 32820;

// Help browser.
constexpr int ID_HELP_WINDOW = 32781;
constexpr int ID_BROWSE_BACK = 32782;
constexpr int ID_BROWSE_FORWARD = 32783;
constexpr int ID_BROWSE_STOP = 32784;
constexpr int ID_BROWSE_REFRESH = 32785;
constexpr int ID_BROWSE_HOME = 32786;
constexpr int ID_FILE_OPEN_URL = 32789;
constexpr int ID_BROWSE_SEARCH = 32790;
constexpr int ID_BROWSE_FAVORITES = 32794;
constexpr int ID_VIEW_FTP = 32795;
constexpr int ID_BROWSE_FONT = 32796;
constexpr int ID_HELP_CLOSE = 32826;
constexpr int ID_FILE_OPEN_FILE = 32849;
constexpr int ID_GO_BACK = 32901;
constexpr int ID_GO_FORWARD = 32902;
constexpr int ID_VIEW_STOP = 32903;
constexpr int ID_VIEW_REFRESH = 32904;
constexpr int ID_FONT_LARGE = 32905;
constexpr int ID_FONT_LARGEST = 32906;
constexpr int ID_FONT_MEDIUM = 32907;
constexpr int ID_FONT_SMALLEST = 32908;
constexpr int ID_FONT_SMALL = 32909;
constexpr int ID_FAVORITE_FIRST = 3584;
constexpr int ID_FAVORITE_LAST = 4095;

// Bars and their panes.
constexpr int AFX_IDW_TOOLBAR = 59392;
constexpr int AFX_IDW_STATUS_BAR = 59393;
constexpr int IDC_HELP_ADDRESS = 59393;
constexpr int IDC_HELP_ANIMATION = 59394;
constexpr int ID_INDICATOR_READY = 59142;
constexpr int FIRST_CONTROL_BAR_ID = 100;

// Controls.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_DIR_TREE = 200;
constexpr int IDC_PRODUCT_NAME = 1000;
constexpr int IDC_LEGAL_TEXT = 1002;
constexpr int IDC_PRODUCT_VERSION = 1003;
constexpr int IDC_SPECIAL_BUILD = 1006;
constexpr int IDC_PRIVATE_BUILD = 1010;
constexpr int IDC_URL = 1075;
constexpr int IDC_URL_COMMENT = 1076;
constexpr int IDC_PROMPT_TEXT = 1100;
constexpr int IDC_PROMPT_VALUE = 1101;

// Timers of the main frame and the forms.
constexpr int TIMER_PLAYER_SEQUENCER = 1111;
constexpr int TIMER_WAIT_FOR_PLAYER = 1112;
constexpr int TIMER_SPONSOR_PAGES = 2002;
