#include "player/XA_Player.h"

XA_Player::~XA_Player() {
    deletePlayer();
}

void XA_Player::deletePlayer() {
    if (player_) player_delete(player_);
    player_ = nullptr;
}

int XA_Player::create(XA_NotificationSink* sink) {
    const int result = player_new(&player_, sink);
    if (result != 0) player_ = nullptr;
    return result;
}

void XA_Player::dispatch(const XA_Message& message) {
    switch (message.code()) {
    case 73: return onReady();
    case 74: return onNotify74(message.byteAt(4));
    case 75: return onCommandFailed(message.payload());
    case 76: return onNotify76(message.uint32At(4));
    case 77: return onNotify77();
    case 78: return onPlayerState(message.byteAt(4));
    case 79: return onNotify79(message.uint32At(4));
    case 80: return onNotify80(message.uint32At(4), message.uint32At(8));
    case 81: return onNotify81(message.uint32At(4), message.uint32At(8));
    case 82: return onInputState(message.byteAt(4));
    case 83: return onNotify83(message.uint32At(4));
    case 84: return onInputCaps(message.uint32At(4));
    case 85: return onPosition(message.uint32At(4), message.uint32At(8));
    case 86: return onNotify86(message.uint32At(4));
    case 87: return onTimeCode(message.payload());
    case 88: return onNotify88(message.uint32At(4));
    case 89: return onNotify89(message.int16At(4));
    case 90: return onNotify90(message.payload());
    case 91: return onNotify91(message.payload());
    case 92: return onNotify92(message.payload());
    case 93: return onNotify93(message.byteAt(4));
    case 94: return onNotify94(message.uint32At(4));
    case 95: return onNotify95(message.uint32At(4));
    case 96: return onNotify96(message.uint32At(4), message.uint32At(8));
    case 98: return onNotify98(message.payload());
    case 100: return onNotify100(message.payload());
    case 101: return onBalance(message.byteAt(6));
    case 102: return onPcmLevel(message.byteAt(5));
    case 103: return onMasterLevel(message.byteAt(4));
    case 104: return onNotify104(message.byteAt(4));
    case 105: return onNotify105(message.byteAt(4));
    case 106: return onNotify106(message.int16At(4));
    case 107: return onNotify107(message.payload());
    case 108: return onNotify108(message.payload());
    case 109: return onNotify109(message.payload());
    case 110: return onNotify110(message.uint32At(4));
    case 111: return onDuration(message.uint32At(4));
    case 112: return onStreamInfo(message.payload());
    case 113: return onPropertyList(message.payload());
    case 114: return onNotify114(message.byteAt(4));
    case 115: return onEqualizer(message.uint32At(4) ? reinterpret_cast<const std::int8_t*>(message.bytes.data() + 8) : nullptr);
    case 116: return onNotify116(message.int16At(4));
    case 117: return onNotify117(message.payload());
    case 118: return onNotify118(message.payload());
    case 119: return onNotify119(message.uint32At(4));
    case 120: return onNotify120(message.byteAt(4));
    case 121: return onNetworkProgress(message.payload());
    case 122: return onNotify122(message.payload());
    case 123: return onNotify123(message.payload());
    case 124: return onNotify124(message.payload());
    case 150: return onNotify150(message.byteAt(4));
    case 151: return onNotify151(message.byteAt(4));
    case 152: return onNotify152(message.int16At(4));
    case 153: return onNotify153(message.payload());
    case 154: return onNotify154(message.uint32At(4));
    case 155: return onNotify155(message.payload());
    case 156: return onNotify156(message.uint32At(4), message.uint32At(8));
    case 157: return onNotify157(message.uint32At(4), message.uint32At(8));
    case 158: return onNotify158(message.payload());
    case 159: return onNotify159(message.payload());
    default: return;
    }
}
