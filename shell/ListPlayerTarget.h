#pragma once

#include <QStringList>

// What the file list's "ListPlayer" popup needs of the Player form: Add Playlist appends the
// selected files to the playlist (flag 0) and refreshes its display, Play then starts playing
// (the Player's Play command). A file list whose form does not implement it keeps the two
// entries disabled.
class ListPlayerTarget {
public:
    virtual ~ListPlayerTarget() = default;
    virtual void addToPlaylist(const QStringList& paths) = 0;
    virtual void playFromList() = 0;
};
