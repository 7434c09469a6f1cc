#include "player/PlaybackSequencer.h"

#include "platform/xaudio/XA_Codes.h"
#include "player/PlaylistQueue.h"

#include <utility>

namespace {

// The delays of the timer: after a command that queued entries, between two steps, and after a
// stop asked of a stopped player.
constexpr int kAfterCommandMs = 200;
constexpr int kNextStepMs = 100;
constexpr int kAfterStopMs = 400;

} // namespace

PlaybackSequencer::PlaybackSequencer(PlaylistQueue& queue, Arm arm, Hands hands)
    : queue_(queue), arm_(std::move(arm)), hands_(std::move(hands)) {}

void PlaybackSequencer::start() { armFor(PlayNext, kAfterCommandMs); }

void PlaybackSequencer::entriesQueued(int playerState) {
    if (playerState == XA::Stopped || playerState == XA::EndOfStream)
        armFor(PlayNext, kAfterCommandMs);
    else
        step_ = TakeNext;
}

void PlaybackSequencer::playSelected() { armFor(PlaySelected, kNextStepMs); }

void PlaybackSequencer::halt() { step_ = Idle; }

void PlaybackSequencer::closeWhenStopped() { step_ = CloseWindow; }

void PlaybackSequencer::playerStopped() {
    if (step_ != Idle) arm_(kNextStepMs);
}

void PlaybackSequencer::stopAskedWhileStopped() {
    if (step_ != Idle) arm_(kAfterStopMs);
}

void PlaybackSequencer::timerFired() {
    switch (step_) {
    case PlayNext: playNextEntry(); break;
    case TakeNext: takeNextEntry(); break;
    case PlaySelected: playSelectedEntry(); break;
    case CloseWindow: hands_.closeWindow(); break;
    default: break;
    }
}

void PlaybackSequencer::armFor(Step step, int milliseconds) {
    step_ = step;
    arm_(milliseconds);
}

void PlaybackSequencer::playNextEntry() {
    const CTwoStrings entry = queue_.takeFirst().value_or(CTwoStrings{});
    hands_.showTitle(entry.display);
    if (entry.location.empty() || !hands_.play(entry)) {
        armFor(TakeNext, kNextStepMs);
        return;
    }
    // The stopped notification at the end of the entry arms the next step.
    step_ = TakeNext;
}

void PlaybackSequencer::takeNextEntry() {
    if (!queue_.empty()) {
        armFor(PlayNext, kNextStepMs);
        return;
    }
    hands_.clearPlaylist();
    step_ = Idle;
}

void PlaybackSequencer::playSelectedEntry() {
    const std::optional<std::string> selected = hands_.selectedDisplay();
    if (selected && queue_.moveToFront(*selected)) armFor(PlayNext, kNextStepMs);
}
