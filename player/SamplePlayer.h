#pragma once

#include "player/XaudioPlayer.h"

class PlayerForm;

// The Player's own wrapper: configures the component when it is ready and shows the
// notifications it cares about on the Player form.
class SamplePlayer : public XaudioPlayer {
public:
    explicit SamplePlayer(MessageBoxSink* messages);
    ~SamplePlayer() override;

    void setOwner(PlayerForm* owner) { owner_ = owner; }
    // Set by the form while the user drags the position slider.
    int seeking = 0;
    // The last stored player state: 0 stopped, 1 playing, 2 paused, 3 end of stream.
    int lastState = 0;

    void onReady() override;
    void onCommandFailed(const std::uint8_t* payload) override;
    void onPlayerState(std::uint8_t state) override;
    void onInputState(std::uint8_t state) override;
    void onInputCaps(std::uint32_t caps) override;
    void onPosition(std::uint32_t offset, std::uint32_t range) override;
    void onTimeCode(const std::uint8_t* payload) override;
    void onBalance(std::uint8_t value) override;
    void onPcmLevel(std::uint8_t value) override;
    void onMasterLevel(std::uint8_t value) override;
    void onDuration(std::uint32_t seconds) override;
    void onStreamInfo(const std::uint8_t* payload) override;
    void onEqualizer(const std::int8_t* table) override;
    void onNetworkProgress(const std::uint8_t* payload) override;

private:
    PlayerForm* owner_ = nullptr;
    // The state pane shows "Connecting" or "Connected" rather than the player state.
    bool networkStateShown_ = false;
};
