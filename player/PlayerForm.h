#pragma once

#include "player/EqualizerTable.h"

#include <string>

class FeedbackSurfaceSink;
class LevelMeterSink;

// What the player wrapper (SamplePlayer) does on the Player form: the form implements it with its
// controls; tests use a recording stand-in. Called on the GUI thread.
class PlayerForm {
public:
    virtual ~PlayerForm() = default;

    // The visualisation window and its client size, the two level meters.
    virtual FeedbackSurfaceSink* visualisationWindow() = 0;
    virtual int visualisationWidth() = 0;
    virtual int visualisationHeight() = 0;
    virtual LevelMeterSink* leftLevelMeter() = 0;
    virtual LevelMeterSink* rightLevelMeter() = 0;

    // Status bar panes: 0 messages, 1 player state, 2 bit rate, 3 duration, 4 elapsed time.
    virtual void setPaneText(int pane, const std::string& text) = 0;
    virtual const std::string& currentTitle() = 0;
    virtual void setDocumentTitle(const std::string& title) = 0;
    // The form's routine for a stopped player: it moves its playback sequencer on.
    virtual void stoppedRoutine() = 0;

    virtual void enablePositionSlider(bool enabled) = 0;
    virtual void setPositionSlider(int offset) = 0;
    virtual void setBalanceSlider(int value) = 0;
    virtual void setPcmSlider(int value) = 0;
    virtual void setMasterSlider(int value) = 0;
    virtual void setEqualizerEnabled(bool enabled) = 0;
    virtual void setEqualizerSliders(const EqualizerTable::Positions& positions) = 0;
    // Whether the output is a file: an output that cannot be opened then is no missing sound device.
    virtual bool writesToFile() { return false; }
};
