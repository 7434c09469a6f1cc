#pragma once

#include "base/SettingsStore.h"

#include <string>

// The two settings that start-up reads and writes back before any window exists: the program
// folder ("Settings"/"AppDir") and the Help browser's start page ("Help"/"Home").
struct StartupFolders {
    std::string programFolder;  // ends with "/"
    std::string helpHome;
};

class StartupSettings {
public:
    // Reads "AppDir" with the running program's folder as default, then "Home" with the program
    // folder followed by "hlp/index.htm" as default, and writes both values back.
    static StartupFolders apply(SettingsStore& store, const std::string& runningProgramFolder);
};
