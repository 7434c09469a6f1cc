#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// set_server.py on 127.0.0.1, serving a folder over http or ftp (the script describes its
// options). The server ends with the object, or with the test process. When the server cannot run
// here (a missing package), skipReason() says why and nothing listens.
class SetServer {
public:
    SetServer(const std::string& kind, const std::string& folder, const std::vector<std::string>& options = {});
    ~SetServer();
    SetServer(const SetServer&) = delete;
    SetServer& operator=(const SetServer&) = delete;

    const std::string& skipReason() const { return skipReason_; }
    // The address of a file in the served folder: "http://127.0.0.1:PORT/name".
    std::string url(const std::string& name) const;

private:
    void stop();

    std::string kind_;
    pid_t pid_ = -1;
    int toServer_ = -1; // its standard input: closing it ends the server
    int port_ = 0;
    std::string skipReason_;
};
