#include "player/XA_Player.h"

#include "platform/xaudio/XA_Codes.h"

#include <algorithm>
#include <iterator>

namespace {

// A handler gets the record's values that its parameters ask for: a byte, a 16-bit or a 32-bit
// value at offset 4, two 32-bit values at 4 and 8, or the payload's address.
void call(XA_Player& player, void (XA_Player::*handler)(), const XA_Message&) { (player.*handler)(); }
void call(XA_Player& player, void (XA_Player::*handler)(std::uint8_t), const XA_Message& message) {
    (player.*handler)(message.byteAt(4));
}
void call(XA_Player& player, void (XA_Player::*handler)(std::int16_t), const XA_Message& message) {
    (player.*handler)(message.int16At(4));
}
void call(XA_Player& player, void (XA_Player::*handler)(std::uint32_t), const XA_Message& message) {
    (player.*handler)(message.uint32At(4));
}
void call(XA_Player& player, void (XA_Player::*handler)(std::uint32_t, std::uint32_t), const XA_Message& message) {
    (player.*handler)(message.uint32At(4), message.uint32At(8));
}
void call(XA_Player& player, void (XA_Player::*handler)(const std::uint8_t*), const XA_Message& message) {
    (player.*handler)(message.payload());
}

template <auto Handler>
void deliver(XA_Player& player, const XA_Message& message) {
    call(player, Handler, message);
}

// The three level records share one layout (master at 4, PCM at 5, balance at 6): each handler
// takes its own byte.
void deliverBalance(XA_Player& player, const XA_Message& message) { player.onBalance(message.byteAt(6)); }
void deliverPcmLevel(XA_Player& player, const XA_Message& message) { player.onPcmLevel(message.byteAt(5)); }

// The 64 band bytes at 8, or null when the flag at 4 says the equalizer is off.
void deliverEqualizer(XA_Player& player, const XA_Message& message) {
    player.onEqualizer(message.uint32At(4) ? reinterpret_cast<const std::int8_t*>(message.bytes.data() + 8) : nullptr);
}

struct Route {
    unsigned code;
    void (*deliver)(XA_Player&, const XA_Message&);
};

// The handler of each code; the codes the component never sends have handlers named after them.
constexpr Route kRoutes[] = {
    {XA::Ready, deliver<&XA_Player::onReady>},
    {74, deliver<&XA_Player::onNotify74>},
    {XA::CommandFailed, deliver<&XA_Player::onCommandFailed>},
    {76, deliver<&XA_Player::onNotify76>},
    {77, deliver<&XA_Player::onNotify77>},
    {XA::PlayerState, deliver<&XA_Player::onPlayerState>},
    {79, deliver<&XA_Player::onNotify79>},
    {80, deliver<&XA_Player::onNotify80>},
    {81, deliver<&XA_Player::onNotify81>},
    {XA::InputState, deliver<&XA_Player::onInputState>},
    {83, deliver<&XA_Player::onNotify83>},
    {XA::InputCaps, deliver<&XA_Player::onInputCaps>},
    {XA::Position, deliver<&XA_Player::onPosition>},
    {86, deliver<&XA_Player::onNotify86>},
    {XA::TimeCode, deliver<&XA_Player::onTimeCode>},
    {88, deliver<&XA_Player::onNotify88>},
    {89, deliver<&XA_Player::onNotify89>},
    {90, deliver<&XA_Player::onNotify90>},
    {91, deliver<&XA_Player::onNotify91>},
    {92, deliver<&XA_Player::onNotify92>},
    {93, deliver<&XA_Player::onNotify93>},
    {94, deliver<&XA_Player::onNotify94>},
    {95, deliver<&XA_Player::onNotify95>},
    {96, deliver<&XA_Player::onNotify96>},
    {98, deliver<&XA_Player::onNotify98>},
    {100, deliver<&XA_Player::onNotify100>},
    {XA::Balance, deliverBalance},
    {XA::PcmLevel, deliverPcmLevel},
    {XA::MasterLevel, deliver<&XA_Player::onMasterLevel>},
    {104, deliver<&XA_Player::onNotify104>},
    {105, deliver<&XA_Player::onNotify105>},
    {106, deliver<&XA_Player::onNotify106>},
    {107, deliver<&XA_Player::onNotify107>},
    {108, deliver<&XA_Player::onNotify108>},
    {109, deliver<&XA_Player::onNotify109>},
    {110, deliver<&XA_Player::onNotify110>},
    {XA::Duration, deliver<&XA_Player::onDuration>},
    {XA::StreamInfo, deliver<&XA_Player::onStreamInfo>},
    {XA::PropertyList, deliver<&XA_Player::onPropertyList>},
    {114, deliver<&XA_Player::onNotify114>},
    {XA::EqualizerState, deliverEqualizer},
    {116, deliver<&XA_Player::onNotify116>},
    {117, deliver<&XA_Player::onNotify117>},
    {118, deliver<&XA_Player::onNotify118>},
    {119, deliver<&XA_Player::onNotify119>},
    {120, deliver<&XA_Player::onNotify120>},
    {XA::NetworkProgress, deliver<&XA_Player::onNetworkProgress>},
    {122, deliver<&XA_Player::onNotify122>},
    {123, deliver<&XA_Player::onNotify123>},
    {124, deliver<&XA_Player::onNotify124>},
    {150, deliver<&XA_Player::onNotify150>},
    {151, deliver<&XA_Player::onNotify151>},
    {152, deliver<&XA_Player::onNotify152>},
    {153, deliver<&XA_Player::onNotify153>},
    {154, deliver<&XA_Player::onNotify154>},
    {155, deliver<&XA_Player::onNotify155>},
    {156, deliver<&XA_Player::onNotify156>},
    {157, deliver<&XA_Player::onNotify157>},
    {158, deliver<&XA_Player::onNotify158>},
    {159, deliver<&XA_Player::onNotify159>},
};

} // namespace

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
    const auto route = std::find_if(std::begin(kRoutes), std::end(kRoutes),
                                    [&](const Route& candidate) { return candidate.code == message.code(); });
    if (route != std::end(kRoutes)) route->deliver(*this, message);
}
