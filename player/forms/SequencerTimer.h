#pragma once

#include "player/PlaybackSequencer.h"

#include <QTimer>

class PlaylistQueue;

// The playback sequencer on the GUI thread: its single-shot timer (1111) runs the sequencer's
// step each time it fires, so each arming fires once.
class SequencerTimer {
public:
    SequencerTimer(PlaylistQueue& queue, PlaybackSequencer::Hands hands);

    PlaybackSequencer& sequencer() { return sequencer_; }
    const PlaybackSequencer& sequencer() const { return sequencer_; }
    bool isArmed() const { return timer_.isActive(); }
    // Drops a pending step's firing (the window goes).
    void cancel() { timer_.stop(); }

private:
    QTimer timer_;
    PlaybackSequencer sequencer_;
};
