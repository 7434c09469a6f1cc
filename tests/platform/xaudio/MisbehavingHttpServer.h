#pragma once

#include <string>
#include <sys/types.h>

// misbehaving_http_server.py on 127.0.0.1, serving one file in one of its modes ("plain", "stall",
// "endless-headers", "silence", "early-close", "reset", "icy", "not-found", "redirect-loop"; the
// script describes them). The server ends with the object, or with the test process.
class MisbehavingHttpServer {
public:
    MisbehavingHttpServer(const std::string& mode, const std::string& file);
    ~MisbehavingHttpServer();
    MisbehavingHttpServer(const MisbehavingHttpServer&) = delete;
    MisbehavingHttpServer& operator=(const MisbehavingHttpServer&) = delete;

    std::string url(const std::string& path = "/stream.mp3") const;

private:
    void stop();

    pid_t pid_ = -1;
    int toServer_ = -1; // its standard input: closing it ends the server
    int port_ = 0;
};
