// Saves a playlist the way the Player does, so that a test can run the save in a process of its
// own (under the fault-injection library, for one).
//   playlist_save_tool PLAYLIST FOLDER LOCATION...
// Exit status 0 when saved; 1 with the error on standard error.
#include "player/PlaylistQueue.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: playlist_save_tool PLAYLIST FOLDER LOCATION...\n", stderr);
        return 2;
    }
    PlaylistQueue queue;
    for (int i = 3; i < argc; ++i) {
        const std::string location = argv[i];
        queue.append({location.substr(location.rfind('/') + 1), location});
    }
    std::string error;
    if (queue.save(argv[1], argv[2], error)) return 0;
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
}
