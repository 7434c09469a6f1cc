#pragma once

#include <exception>

// The player wrapper could not be built: -100 when its notification object could not be
// allocated, -106 when the playback component's version does not match.
class XaudioException : public std::exception {
public:
    explicit XaudioException(int code) : code_(code) {}
    int code() const { return code_; }
    const char* what() const noexcept override { return "Xaudio player cannot be created"; }

    static constexpr int AllocationFailed = -100;
    static constexpr int VersionMismatch = -106;

private:
    int code_;
};
