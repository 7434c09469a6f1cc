#pragma once

#include "platform/xaudio/XaudioPlayback.h"

#include <cstdint>

// Owns one player of the playback component and turns each notification record into a call of
// one virtual handler per code; every handler does nothing here. Handlers get the record's values
// by code: a byte, a 16-bit or 32-bit value, two 32-bit values, or the payload's address.
class XA_Player {
public:
    XA_Player() = default;
    // Deletes the player (its thread ends first).
    virtual ~XA_Player();
    XA_Player(const XA_Player&) = delete;
    XA_Player& operator=(const XA_Player&) = delete;

    // player_new with the sink; a non-zero result leaves the handle null and is returned.
    virtual int create(XA_NotificationSink* sink);
    // Codes outside 73 to 159 and codes without a handler (97, 99, 125 to 149) are ignored.
    virtual void dispatch(const XA_Message& message);

    XA_PlayerHandle handle() const { return player_; }

    // In slot order: 73 to 96, 98, 100, 101 to 109, 111, 110, 112 to 118, 150 to 159, 119 to 124.
    virtual void onReady() {} // 73
    virtual void onNotify74(std::uint8_t) {} // 74
    virtual void onCommandFailed(const std::uint8_t*) {} // 75
    virtual void onNotify76(std::uint32_t) {} // 76
    virtual void onNotify77() {} // 77
    virtual void onPlayerState(std::uint8_t) {} // 78
    virtual void onNotify79(std::uint32_t) {} // 79
    virtual void onNotify80(std::uint32_t, std::uint32_t) {} // 80
    virtual void onNotify81(std::uint32_t, std::uint32_t) {} // 81
    virtual void onInputState(std::uint8_t) {} // 82
    virtual void onNotify83(std::uint32_t) {} // 83
    virtual void onInputCaps(std::uint32_t) {} // 84
    virtual void onPosition(std::uint32_t, std::uint32_t) {} // 85
    virtual void onNotify86(std::uint32_t) {} // 86
    virtual void onTimeCode(const std::uint8_t*) {} // 87
    virtual void onNotify88(std::uint32_t) {} // 88
    virtual void onNotify89(std::int16_t) {} // 89
    virtual void onNotify90(const std::uint8_t*) {} // 90
    virtual void onNotify91(const std::uint8_t*) {} // 91
    virtual void onNotify92(const std::uint8_t*) {} // 92
    virtual void onNotify93(std::uint8_t) {} // 93
    virtual void onNotify94(std::uint32_t) {} // 94
    virtual void onNotify95(std::uint32_t) {} // 95
    virtual void onNotify96(std::uint32_t, std::uint32_t) {} // 96
    virtual void onNotify98(const std::uint8_t*) {} // 98
    virtual void onNotify100(const std::uint8_t*) {} // 100
    virtual void onBalance(std::uint8_t) {} // 101
    virtual void onPcmLevel(std::uint8_t) {} // 102
    virtual void onMasterLevel(std::uint8_t) {} // 103
    virtual void onNotify104(std::uint8_t) {} // 104
    virtual void onNotify105(std::uint8_t) {} // 105
    virtual void onNotify106(std::int16_t) {} // 106
    virtual void onNotify107(const std::uint8_t*) {} // 107
    virtual void onNotify108(const std::uint8_t*) {} // 108
    virtual void onNotify109(const std::uint8_t*) {} // 109
    virtual void onDuration(std::uint32_t) {} // 111
    virtual void onNotify110(std::uint32_t) {} // 110
    virtual void onStreamInfo(const std::uint8_t*) {} // 112
    virtual void onPropertyList(const std::uint8_t*) {} // 113
    virtual void onNotify114(std::uint8_t) {} // 114
    virtual void onEqualizer(const std::int8_t*) {} // 115
    virtual void onNotify116(std::int16_t) {} // 116
    virtual void onNotify117(const std::uint8_t*) {} // 117
    virtual void onNotify118(const std::uint8_t*) {} // 118
    virtual void onNotify150(std::uint8_t) {} // 150
    virtual void onNotify151(std::uint8_t) {} // 151
    virtual void onNotify152(std::int16_t) {} // 152
    virtual void onNotify153(const std::uint8_t*) {} // 153
    virtual void onNotify154(std::uint32_t) {} // 154
    virtual void onNotify155(const std::uint8_t*) {} // 155
    virtual void onNotify156(std::uint32_t, std::uint32_t) {} // 156
    virtual void onNotify157(std::uint32_t, std::uint32_t) {} // 157
    virtual void onNotify158(const std::uint8_t*) {} // 158
    virtual void onNotify159(const std::uint8_t*) {} // 159
    virtual void onNotify119(std::uint32_t) {} // 119
    virtual void onNotify120(std::uint8_t) {} // 120
    virtual void onNetworkProgress(const std::uint8_t*) {} // 121
    virtual void onNotify122(const std::uint8_t*) {} // 122
    virtual void onNotify123(const std::uint8_t*) {} // 123
    virtual void onNotify124(const std::uint8_t*) {} // 124

protected:
    // Deletes the player now, so that no notification arrives any more.
    void deletePlayer();

    XA_PlayerHandle player_ = nullptr;
};
