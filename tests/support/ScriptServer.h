#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A test server process on 127.0.0.1 that prints the port it listens on as the first line of its
// standard output, or "skip: REASON" when it cannot run here, and serves until its standard input
// closes, so that it ends with the test even when the test crashes. The object waits for that
// first line (a generous failsafe, not a timing check) and ends the process when it goes.
class ScriptServer {
public:
    // argv: the program and its arguments, such as Python, the script and its options.
    explicit ScriptServer(const std::vector<std::string>& argv);
    ScriptServer(ScriptServer&& other) noexcept;
    ScriptServer& operator=(ScriptServer&&) = delete;
    ~ScriptServer();

    int port() const { return port_; }
    // Empty unless the server said it cannot run here; then nothing listens.
    const std::string& skipReason() const { return skipReason_; }
    // The server's process, the parent of any session processes it starts.
    pid_t pid() const { return pid_; }

private:
    void stop();

    pid_t pid_ = -1;
    int toServer_ = -1; // its standard input: closing it ends the server
    int port_ = 0;
    std::string skipReason_;
};
