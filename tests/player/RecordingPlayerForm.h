#pragma once

#include "player/FeedbackSurfaceSink.h"
#include "player/LevelMeterSink.h"
#include "player/PlayerForm.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

// The visualisation window's stand-in: keeps the last picture (called on the decoding thread).
class RecordingSurface : public FeedbackSurfaceSink {
public:
    void present(int width, int height, const std::vector<std::uint32_t>& pixels) override {
        std::lock_guard lock(mutex);
        ++presents;
        lastWidth = width;
        lastHeight = height;
        last = pixels;
    }
    std::mutex mutex;
    int presents = 0;
    int lastWidth = 0, lastHeight = 0;
    std::vector<std::uint32_t> last;
};

class RecordingMeter : public LevelMeterSink {
public:
    void setBarColour(std::uint32_t c) override {
        std::lock_guard lock(mutex);
        colour = c;
    }
    void setLevel(int l) override {
        std::lock_guard lock(mutex);
        level = l;
        maxLevel = std::max(maxLevel, l);
        ++updates;
    }
    std::mutex mutex;
    std::uint32_t colour = 0;
    int level = -1, maxLevel = -1, updates = 0;
};

// The Player form's stand-in: every call becomes one line in `calls`.
class RecordingPlayerForm : public PlayerForm {
public:
    FeedbackSurfaceSink* visualisationWindow() override { return &surface; }
    int visualisationWidth() override { return width; }
    int visualisationHeight() override { return height; }
    LevelMeterSink* leftLevelMeter() override { return &left; }
    LevelMeterSink* rightLevelMeter() override { return &right; }
    void setPaneText(int pane, const std::string& text) override { record("pane " + std::to_string(pane) + " " + text); }
    const std::string& currentTitle() override { return title; }
    void setDocumentTitle(const std::string& t) override { record("title " + t); }
    void stoppedRoutine() override {
        record("stopped routine");
        if (onStopped) onStopped();
    }
    void enablePositionSlider(bool enabled) override { record(enabled ? "position enabled" : "position disabled"); }
    void setPositionSlider(int offset) override { record("position " + std::to_string(offset)); }
    void setBalanceSlider(int v) override { record("balance " + std::to_string(v)); }
    void setPcmSlider(int v) override { record("pcm " + std::to_string(v)); }
    void setMasterSlider(int v) override { record("master " + std::to_string(v)); }
    void setEqualizerEnabled(bool enabled) override { record(enabled ? "equalizer on" : "equalizer off"); }
    void setEqualizerSliders(const EqualizerTable::Positions& p) override {
        std::string line = "sliders";
        for (int v : p) line += " " + std::to_string(v);
        record(line);
    }

    bool writesToFile() override { return toFile; }

    bool saw(const std::string& call) const {
        for (const std::string& c : calls)
            if (c == call) return true;
        return false;
    }

    std::vector<std::string> calls;
    std::string title = "tone.mp3";
    bool toFile = false;
    int width = 320, height = 80;
    RecordingSurface surface;
    RecordingMeter left, right;
    std::function<void()> onStopped;

private:
    void record(const std::string& call) { calls.push_back(call); }
};
