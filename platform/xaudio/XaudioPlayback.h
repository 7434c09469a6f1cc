#pragma once

// The playback component's entry points. A player decodes on a thread of its own; commands are
// queued with control_message_send and carried out in order on that thread; notifications go as
// XA_Message records to the sink given at creation, from that thread.

#include "platform/xaudio/XA_Command.h"
#include "platform/xaudio/XA_Message.h"

#include <utility>

class PlaybackEngine;
using XA_PlayerHandle = PlaybackEngine*;

// Error codes carried by notification 75. All lie above -200: a failed input or play command lets
// a playlist go on with its next entry.
namespace XA {
enum Error : int {
    Success = 0,
    Failure = -1,
    OutOfMemory = -2,
    InvalidParameters = -3,
    UnknownCommand = -4,
    NoInput = -5,
    InputOpenFailed = -6,
    NotSeekable = -7,
    NoSuchDevice = -8,
    OutputOpenFailed = -9,
    OutputWriteFailed = -10,
    NetworkUnreachable = -11,
    NotMpegAudio = -12,
    DecodeFailed = -13,
    FeedbackModuleFailed = -14,
    FeedbackHandlerFailed = -15,
    NetworkTimeout = -16,
    HttpError = -17,
    TooManyRedirects = -18,
    StreamBroken = -19,
};
}

// 0 on success; the handle stays null otherwise. The sink must outlive the player.
int player_new(XA_PlayerHandle* handle, XA_NotificationSink* sink);
// Stops the decoding thread; no notification reaches the sink after it returns.
void player_delete(XA_PlayerHandle handle);

int control_message_post(XA_PlayerHandle handle, XA_Command command);

// control_message_send(handle, XA::Levels, 50, 255, 255): queues the command; 0 when queued.
// A null handle queues nothing.
template <typename... Arguments> int control_message_send(XA_PlayerHandle handle, int code, Arguments&&... arguments) {
    return control_message_post(handle, XA_Command{code, {XA_Argument(std::forward<Arguments>(arguments))...}});
}

// Bits 16-23: 3, bits 8-15: 8, bits 0-7: the minor revision.
unsigned long xaudio_get_version(int which);
const char* xaudio_error_string(int code);
