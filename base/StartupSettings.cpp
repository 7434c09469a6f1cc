#include "base/StartupSettings.h"

namespace {

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

StartupFolders StartupSettings::apply(SettingsStore& store, const std::string& runningProgramFolder) {
    StartupFolders folders;
    // A hand-edited "AppDir" without its trailing separator would otherwise glue "hlp" onto the
    // folder's name; the value written back carries the separator.
    folders.programFolder =
        withTrailingSeparator(store.getText("Settings", "AppDir", withTrailingSeparator(runningProgramFolder)));
    store.writeText("Settings", "AppDir", folders.programFolder);
    folders.helpHome = store.getText("Help", "Home", folders.programFolder + "hlp/index.htm");
    store.writeText("Help", "Home", folders.helpHome);
    return folders;
}
