#pragma once

#include <QString>

#include <cstdint>

// What the desktop's media controls read from the Player and ask of it: the narrow face the
// MPRIS adaptors see, so that they never touch the form's widgets. Called on the GUI thread.
class MediaControlTarget {
public:
    enum class Status { Stopped, Playing, Paused };

    // The entry that plays now; empty texts and a zero length for what is not known.
    struct Track {
        std::uint64_t number = 0;  // counts the entries played, so that each has an id of its own
        QString title;
        QString artist;
        QString album;
        QString url;
        std::int64_t lengthMicroseconds = 0;
    };

    virtual ~MediaControlTarget() = default;

    virtual Status playbackStatus() const = 0;
    // No track while nothing plays.
    virtual bool hasTrack() const = 0;
    virtual Track track() const = 0;
    virtual std::int64_t positionMicroseconds() const = 0;
    // The master level, 0 to 1.
    virtual double volume() const = 0;
    virtual bool canGoNext() const = 0;
    virtual bool canSeek() const = 0;

    virtual void mediaPlay() = 0;
    virtual void mediaPause() = 0;
    virtual void mediaStop() = 0;
    virtual void mediaNext() = 0;
    // Within the track's length (checked by the caller).
    virtual void mediaSeekTo(std::int64_t microseconds) = 0;
    virtual void setVolume(double volume) = 0;
    virtual void raiseWindow() = 0;
};
