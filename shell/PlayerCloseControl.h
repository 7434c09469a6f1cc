#pragma once

// What the frames need of the Player form when a window closes while it may be playing.
class PlayerCloseControl {
public:
    virtual ~PlayerCloseControl() = default;
    virtual bool isStopped() const = 0;
    // Sets the playback sequencer to "close when stopped" and runs the stop routine; the form
    // closes its own window once playback has stopped.
    virtual void closeWhenStopped() = 0;
};
