#include "player/SamplePlayer.h"

#include "base/TextFormat.h"
#include "platform/xaudio/XA_Codes.h"
#include "player/FeedbackModule.h"
#include "player/PlayerForm.h"

#include <cstring>

namespace {

// Handlers that get the payload's address read the record's offsets 4 and up from it.
template <typename T> T at(const std::uint8_t* payload, std::size_t recordOffset) {
    T value{};
    std::memcpy(&value, payload + (recordOffset - 4), sizeof value);
    return value;
}

long long address(const void* pointer) {
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer));
}

} // namespace

SamplePlayer::SamplePlayer(MessageBoxSink* messages) : XaudioPlayer(messages) {}

SamplePlayer::~SamplePlayer() = default;

void SamplePlayer::onReady() {
    if (!owner_) return;
    FeedbackSurfaceSink* window = owner_->visualisationWindow();
    control_message_send(player_, XA::OutputModule, "xa_dsound_output.dll");
    control_message_send(player_, XA::OutputProperty, "OUTPUT.DIRECTSOUND.WINDOW", address(window));
    control_message_send(player_, XA::NotificationMask, 1);
    control_message_send(player_, XA::OutputBufferTime, 100);
    control_message_send(player_, XA::ClientValue, "CLIENT.LEVEL-LEFT", address(owner_->leftLevelMeter()));
    control_message_send(player_, XA::ClientValue, "CLIENT.LEVEL-RIGHT", address(owner_->rightLevelMeter()));
    control_message_send(player_, XA::ClientValue, "CLIENT.FEEDBACK-WINDOW", address(window));
    control_message_send(player_, XA::FeedbackModule, FeedbackModule::entryText());
    control_message_send(player_, XA::ClientValue, "CLIENT.FEEDBACK-WINDOW-WIDTH", owner_->visualisationWidth());
    control_message_send(player_, XA::ClientValue, "CLIENT.FEEDBACK-WINDOW-HEIGHT", owner_->visualisationHeight());
    control_message_send(player_, XA::FeedbackHandler, "sample-spectrum");
    control_message_send(player_, XA::FeedbackStart);
}

void SamplePlayer::onCommandFailed(const std::uint8_t* payload) {
    if (!owner_) return;
    const int command = at<std::uint8_t>(payload, 4);
    const int code = at<std::int16_t>(payload, 6);
    // Without a sound server or device every opening fails alike: one plain text says so.
    const bool noSoundOutput = (code == XA::OutputOpenFailed || code == XA::NoSuchDevice) &&
                               (command == XA::OutputOpen || command == XA::Play) && !owner_->writesToFile();
    owner_->setPaneText(0, noSoundOutput ? std::string("No sound output")
                                         : TextFormat::format("Command %d failed\n[%s]", command, xaudio_error_string(code)));
    if (code >= -200 && (command == XA::Play || command == XA::InputOpen)) owner_->stoppedRoutine();
}

void SamplePlayer::onPlayerState(std::uint8_t state) {
    if (!owner_) return;
    const char* text = nullptr;
    switch (state) {
    case XA::Stopped:
        text = "STOPPED";
        owner_->stoppedRoutine();
        break;
    case XA::Playing:
        text = "PLAYING";
        owner_->setPaneText(0, owner_->currentTitle());
        owner_->setDocumentTitle(owner_->currentTitle());
        break;
    case XA::Paused:
        if (seeking) return; // a pause for a seek keeps the state the seek returns to
        text = "PAUSED";
        break;
    case XA::EndOfStream:
        text = "EOF";
        control_message_send(player_, XA::InputClose);
        control_message_send(player_, XA::InputOpen, nullptr);
        break;
    default: return;
    }
    lastState = state;
    networkStateShown_ = false;
    owner_->setPaneText(1, text);
}

void SamplePlayer::onInputState(std::uint8_t state) {
    if (owner_ && state == 1) owner_->enablePositionSlider(false);
}

void SamplePlayer::onInputCaps(std::uint32_t caps) {
    if (owner_) owner_->enablePositionSlider((caps & 1) != 0);
}

void SamplePlayer::onPosition(std::uint32_t offset, std::uint32_t) {
    if (owner_) owner_->setPositionSlider(static_cast<int>(offset));
}

void SamplePlayer::onTimeCode(const std::uint8_t* payload) {
    if (!owner_) return;
    // A stream's connection texts stand in the state pane until its first samples play.
    if (networkStateShown_ && lastState == XA::Playing) {
        networkStateShown_ = false;
        owner_->setPaneText(1, "PLAYING");
    }
    owner_->setPaneText(4, TextFormat::format("%02d:%02d:%02d", payload[0], payload[1], payload[2]));
}

void SamplePlayer::onBalance(std::uint8_t value) {
    if (owner_) owner_->setBalanceSlider(value);
}

void SamplePlayer::onPcmLevel(std::uint8_t value) {
    if (owner_) owner_->setPcmSlider(value);
}

void SamplePlayer::onMasterLevel(std::uint8_t value) {
    if (owner_) owner_->setMasterSlider(value);
}

void SamplePlayer::onDuration(std::uint32_t s) {
    if (owner_) owner_->setPaneText(3, TextFormat::format("%02u:%02u:%02u", s / 3600, s % 3600 / 60, s % 60));
}

void SamplePlayer::onStreamInfo(const std::uint8_t* payload) {
    if (owner_) owner_->setPaneText(2, TextFormat::format("%d kBit", at<std::uint16_t>(payload, 8)));
}

void SamplePlayer::onEqualizer(const std::int8_t* table) {
    if (!owner_) return;
    owner_->setEqualizerEnabled(table != nullptr);
    if (table) owner_->setEqualizerSliders(EqualizerTable::positionsOf(table));
}

void SamplePlayer::onNetworkProgress(const std::uint8_t* payload) {
    if (!owner_) return;
    const int event = at<std::uint8_t>(payload, 5);
    if (event != XA::Connecting && event != XA::Connected) return;
    networkStateShown_ = true;
    owner_->setPaneText(1, event == XA::Connecting ? "Connecting" : "Connected");
}
