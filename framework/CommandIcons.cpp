#include "framework/CommandIcons.h"

#include "resources/ResourceIds.h"

#include <QApplication>
#include <QStyle>

#include <map>

// The icons are compiled into a static library, whose resources must be registered by hand.
static void registerIcons() { Q_INIT_RESOURCE(icons); }

namespace {

QIcon own(const char* name) {
    static const bool registered = (registerIcons(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QIcon standard(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

}  // namespace

QIcon CommandIcons::forResource(int resourceId) {
    switch (resourceId) {
    case IDR_MAINFRAME: return own("program");
    case IDR_DECODER: return own("decoder");
    case IDR_ENCODER: return own("encoder");
    case IDR_PLAYER: return own("player");
    case IDR_CONVERTER: return own("converter");
    case IDR_HELP: return own("help");
    default: return {};
    }
}

QIcon CommandIcons::forCommand(int command) {
    static const std::map<int, const char*> ownIcons = {
        {ID_EDIT_CUT, "cut"},          {ID_EDIT_COPY, "copy"},     {ID_EDIT_PASTE, "paste"},
        {ID_FILE_PRINT, "print"},      {ID_DECODER, "decoder"},    {ID_DECODE, "decoder"},
        {ID_PLAYER, "player"},         {ID_CONVERTER, "converter"}, {ID_START_CONVERT, "converter"},
        {ID_FTP, "ftp"},               {ID_ENCODER, "encoder"},    {ID_SPLIT, "encoder"},
        {IDC_EQUALIZER, "equalizer"},  {IDC_SPECTRUM, "spectrum"}, {IDC_OSCILLOSCOPE, "oscilloscope"},
        {IDC_VU, "vu"},                {ID_SHOW_PAGE, "page"},     {ID_HELP, "help"},
    };
    if (const auto found = ownIcons.find(command); found != ownIcons.end()) return own(found->second);
    static const std::map<int, QStyle::StandardPixmap> standardIcons = {
        {ID_APP_ABOUT, QStyle::SP_MessageBoxInformation}, {ID_BROWSE_BACK, QStyle::SP_ArrowBack},
        {ID_BROWSE_FORWARD, QStyle::SP_ArrowForward},     {ID_BROWSE_STOP, QStyle::SP_BrowserStop},
        {ID_BROWSE_REFRESH, QStyle::SP_BrowserReload},    {ID_BROWSE_HOME, QStyle::SP_DirHomeIcon},
        {ID_FILE_CLOSE, QStyle::SP_DialogCloseButton},    {ID_LIST_REFRESH, QStyle::SP_BrowserReload},
        {ID_LIST_DELETE, QStyle::SP_TrashIcon},           {ID_LIST_RENAME, QStyle::SP_FileDialogDetailedView},
        {IDC_PLAY, QStyle::SP_MediaPlay},                 {ID_PLAYER_PAUSE, QStyle::SP_MediaPause},
        {IDC_STOP, QStyle::SP_MediaStop},                 {ID_APP_EXIT, QStyle::SP_DialogCloseButton},
        {ID_CHECK_SET, QStyle::SP_DialogApplyButton},     {ID_OPEN_URL, QStyle::SP_DriveNetIcon},
    };
    if (const auto found = standardIcons.find(command); found != standardIcons.end()) return standard(found->second);
    return {};
}
