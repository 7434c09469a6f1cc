#include "support/SplitJoinFolders.h"

#include "support/FileBytes.h"
#include "support/WindowTestApp.h"

#include <filesystem>

SplitJoinFolders::SplitJoinFolders(std::size_t sourceBytes, unsigned seed)
    : sources(WindowTestApp::homeFolder() + "/Holiday Videos"),
      parts(WindowTestApp::homeFolder() + "/upload"),
      rebuilt(WindowTestApp::homeFolder() + "/rebuilt"),
      source(FileBytes::pattern(sourceBytes, seed)) {
    for (const std::string& folder : {sources, parts, rebuilt}) std::filesystem::create_directories(folder);
    FileBytes::write(sources + "/Beach Day 2026.mpg", source);
}
