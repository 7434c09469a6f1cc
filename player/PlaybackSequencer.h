#pragma once

#include "player/CTwoStrings.h"

#include <functional>
#include <optional>
#include <string>

class PlaylistQueue;

// The Player's playback sequencer: a small step machine that takes the playlist queue's entries
// one after the other. Each step runs when its one-shot timer fires; a step either arms the timer
// for the next one or waits for the player's stopped notification, so nothing ever blocks. The
// sequencer decides; its owner keeps the timer and does the playing through the hands below.
class PlaybackSequencer {
public:
    enum Step { Idle = 0, PlayNext = 3, TakeNext = 5, PlaySelected = 6, CloseWindow = 7 };

    // Fires the timer once after the delay (a new arming replaces a pending one).
    using Arm = std::function<void(int milliseconds)>;
    // What the sequencer has done for it on the window. Every member must be set.
    struct Hands {
        std::function<void(const std::string& display)> showTitle;  // the entry taken becomes current
        std::function<bool(const CTwoStrings& entry)> play;  // open the output and start; false: skip it
        std::function<void()> clearPlaylist;                  // the queue ran dry: empty the box
        std::function<std::optional<std::string>()> selectedDisplay;  // the box's selection, if any
        std::function<void()> closeWindow;
    };

    PlaybackSequencer(PlaylistQueue& queue, Arm arm, Hands hands);

    int step() const { return step_; }

    // The Play command queued the selected file on a stopped player.
    void start();
    // Entries were queued to be played: at once when the player is done (stopped or at the end of
    // its stream), else after the entry that plays now.
    void entriesQueued(int playerState);
    // The playlist's Start: the selected entry goes first.
    void playSelected();
    // Nothing more is taken from the queue; a timer already armed fires into the idle step.
    void halt();
    // The window closes once the player is stopped.
    void closeWhenStopped();

    // The player stopped (its notification, or a failed play or open): the pending step follows.
    void playerStopped();
    // A stop was asked of a player that is stopped already: no notification will come, so the
    // pending step follows by itself.
    void stopAskedWhileStopped();

    // The timer fired: run the current step.
    void timerFired();

private:
    void armFor(Step step, int milliseconds);
    void playNextEntry();
    void takeNextEntry();
    void playSelectedEntry();

    PlaylistQueue& queue_;
    Arm arm_;
    Hands hands_;
    Step step_ = Idle;
};
