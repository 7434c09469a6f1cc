#pragma once

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
    std::string errorText() const;

    static constexpr std::size_t BufferLimit = 1 << 20;

private:
    void fetch();
    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, long long, long long, long long, long long);
    void setStatus(Status status, std::string error = {});

    std::string url_;
    std::function<void()> wake_;
    mutable std::mutex mutex_;
    std::condition_variable roomForData_;
    std::vector<std::uint8_t> buffer_;
    Status status_ = Status::Connecting;
    std::string error_;
    bool abort_ = false;
    std::thread thread_;
};
