#pragma once

#include <atomic>
#include <string>
#include <thread>

// An http server on 127.0.0.1 for stream tests: answers every request with the same body.
class LocalHttpServer {
public:
    LocalHttpServer(std::string body, std::string contentType = "audio/mpeg");
    ~LocalHttpServer();

    std::string url(const std::string& path = "/stream.mp3") const;
    // A port on 127.0.0.1 where nothing listens.
    static int closedPort();

private:
    void serve();

    std::string body_;
    std::string contentType_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
