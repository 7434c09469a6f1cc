#include "player/XA_Player.h"

#include "platform/xaudio/XA_Codes.h"

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
    case XA::Ready: return onReady();
    case XA::Notify74: return onNotify74(message.byteAt(4));
    case XA::CommandFailed: return onCommandFailed(message.payload());
    case XA::Notify76: return onNotify76(message.uint32At(4));
    case XA::Notify77: return onNotify77();
    case XA::PlayerState: return onPlayerState(message.byteAt(4));
    case XA::Notify79: return onNotify79(message.uint32At(4));
    case XA::Notify80: return onNotify80(message.uint32At(4), message.uint32At(8));
    case XA::Notify81: return onNotify81(message.uint32At(4), message.uint32At(8));
    case XA::InputState: return onInputState(message.byteAt(4));
    case XA::Notify83: return onNotify83(message.uint32At(4));
    case XA::InputCaps: return onInputCaps(message.uint32At(4));
    case XA::Position: return onPosition(message.uint32At(4), message.uint32At(8));
    case XA::Notify86: return onNotify86(message.uint32At(4));
    case XA::TimeCode: return onTimeCode(message.payload());
    case XA::Notify88: return onNotify88(message.uint32At(4));
    case XA::Notify89: return onNotify89(message.int16At(4));
    case XA::Notify90: return onNotify90(message.payload());
    case XA::Notify91: return onNotify91(message.payload());
    case XA::Notify92: return onNotify92(message.payload());
    case XA::Notify93: return onNotify93(message.byteAt(4));
    case XA::Notify94: return onNotify94(message.uint32At(4));
    case XA::Notify95: return onNotify95(message.uint32At(4));
    case XA::Notify96: return onNotify96(message.uint32At(4), message.uint32At(8));
    case XA::Notify98: return onNotify98(message.payload());
    case XA::Notify100: return onNotify100(message.payload());
    case XA::Balance: return onBalance(message.byteAt(6));
    case XA::PcmLevel: return onPcmLevel(message.byteAt(5));
    case XA::MasterLevel: return onMasterLevel(message.byteAt(4));
    case XA::Notify104: return onNotify104(message.byteAt(4));
    case XA::Notify105: return onNotify105(message.byteAt(4));
    case XA::Notify106: return onNotify106(message.int16At(4));
    case XA::Notify107: return onNotify107(message.payload());
    case XA::Notify108: return onNotify108(message.payload());
    case XA::Notify109: return onNotify109(message.payload());
    case XA::Notify110: return onNotify110(message.uint32At(4));
    case XA::Duration: return onDuration(message.uint32At(4));
    case XA::StreamInfo: return onStreamInfo(message.payload());
    case XA::PropertyList: return onPropertyList(message.payload());
    case XA::Notify114: return onNotify114(message.byteAt(4));
    case XA::EqualizerState: return onEqualizer(message.uint32At(4) ? reinterpret_cast<const std::int8_t*>(message.bytes.data() + 8) : nullptr);
    case XA::Notify116: return onNotify116(message.int16At(4));
    case XA::Notify117: return onNotify117(message.payload());
    case XA::Notify118: return onNotify118(message.payload());
    case XA::Notify119: return onNotify119(message.uint32At(4));
    case XA::Notify120: return onNotify120(message.byteAt(4));
    case XA::NetworkProgress: return onNetworkProgress(message.payload());
    case XA::Notify122: return onNotify122(message.payload());
    case XA::Notify123: return onNotify123(message.payload());
    case XA::Notify124: return onNotify124(message.payload());
    case XA::Notify150: return onNotify150(message.byteAt(4));
    case XA::Notify151: return onNotify151(message.byteAt(4));
    case XA::Notify152: return onNotify152(message.int16At(4));
    case XA::Notify153: return onNotify153(message.payload());
    case XA::Notify154: return onNotify154(message.uint32At(4));
    case XA::Notify155: return onNotify155(message.payload());
    case XA::Notify156: return onNotify156(message.uint32At(4), message.uint32At(8));
    case XA::Notify157: return onNotify157(message.uint32At(4), message.uint32At(8));
    case XA::Notify158: return onNotify158(message.payload());
    case XA::Notify159: return onNotify159(message.payload());
    default: return;
    }
}
