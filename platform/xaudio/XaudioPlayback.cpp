#include "platform/xaudio/XaudioPlayback.h"

#include "platform/xaudio/PlaybackEngine.h"

#include <new>

int player_new(XA_PlayerHandle* handle, XA_NotificationSink* sink) {
    if (!handle) return XA::InvalidParameters;
    try {
        *handle = new PlaybackEngine(sink);
        return 0;
    } catch (const std::bad_alloc&) {
        *handle = nullptr;
        return XA::OutOfMemory;
    } catch (...) {
        *handle = nullptr;
        return XA::Failure;
    }
}

void player_delete(XA_PlayerHandle handle) {
    delete handle;
}

int control_message_post(XA_PlayerHandle handle, XA_Command command) {
    if (!handle) return XA::InvalidParameters;
    handle->send(std::move(command));
    return 0;
}

unsigned long xaudio_get_version(int) {
    return (3ul << 16) | (8ul << 8) | 2ul;
}

const char* xaudio_error_string(int code) {
    switch (code) {
    case XA::Success: return "success";
    case XA::Failure: return "failure";
    case XA::OutOfMemory: return "out of memory";
    case XA::InvalidParameters: return "invalid parameters";
    case XA::UnknownCommand: return "unknown command";
    case XA::NoInput: return "no input is open";
    case XA::InputOpenFailed: return "the input cannot be opened";
    case XA::NotSeekable: return "the input cannot seek";
    case XA::NoSuchDevice: return "no such sound device";
    case XA::OutputOpenFailed: return "the output cannot be opened";
    case XA::OutputWriteFailed: return "the output cannot be written";
    case XA::NetworkUnreachable: return "the server cannot be reached";
    case XA::NotMpegAudio: return "the input holds no MPEG audio";
    case XA::DecodeFailed: return "the input cannot be decoded";
    case XA::FeedbackModuleFailed: return "the feedback module cannot be loaded";
    case XA::FeedbackHandlerFailed: return "the feedback handler cannot be created";
    case XA::NetworkTimeout: return "the server sends no data";
    case XA::HttpError: return "the server refused the stream";
    case XA::TooManyRedirects: return "the server redirects too often";
    case XA::StreamBroken: return "the stream broke off";
    default: return "unknown error";
    }
}
