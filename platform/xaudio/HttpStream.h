#pragma once

#include "platform/xaudio/IcyMetadataStripper.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An http:// location fetched by libcurl on a thread of its own into a bounded buffer that the
// decoding thread takes from. The wake function is called (without any lock held) whenever
// there is news: bytes, the connection, the end or a failure.
//
// Nothing waits for ever: a server that sends no audio for noDataTimeout() (30 s; the
// environment variable QUARVEL_STREAM_TIMEOUT, in whole seconds, changes it) is given up on, and
// every transfer error (a connection closed or reset early, an HTTP error, a redirect loop) ends
// the stream as Failed with a reason, never as Finished. ICY metadata never reaches the buffer.
class HttpStream {
public:
    enum class Status { Connecting, Connected, Finished, Failed };

    HttpStream(std::string url, std::function<void()> wake);
    // Aborts the transfer and waits for the thread.
    ~HttpStream();
    HttpStream(const HttpStream&) = delete;
    HttpStream& operator=(const HttpStream&) = delete;

    // Moves the buffered bytes into `into` (replacing its content).
    void take(std::vector<std::uint8_t>& into);
    bool hasData() const;
    Status status() const;
    // When Failed: the component's error code (XA::Error) and the reason in words.
    int errorCode() const;
    std::string errorText() const;

    static constexpr std::size_t BufferLimit = 1 << 20;
    static constexpr long MaxRedirects = 5;
    static std::chrono::seconds noDataTimeout();

private:
    void fetch();
    void fail(int code, std::string reason);
    void failTransfer(int result, const char* curlText);
    bool readHeader(const std::string& line);
    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, long long, long long, long long, long long);
    void setStatus(Status status);

    std::string url_;
    std::function<void()> wake_;
    const std::chrono::seconds noDataTimeout_;
    mutable std::mutex mutex_;
    std::condition_variable roomForData_;
    std::vector<std::uint8_t> buffer_;
    Status status_ = Status::Connecting;
    int errorCode_ = 0;
    std::string error_;
    bool abort_ = false;

    // The transfer's thread only.
    std::chrono::steady_clock::time_point lastAudio_;
    bool timedOut_ = false;
    std::string httpStatus_; // "404 Not Found" of the latest response
    bool httpError_ = false;
    IcyMetadataStripper icy_;

    std::thread thread_;
};
