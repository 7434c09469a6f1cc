#include "support/ScriptServer.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kStartFailsafeMilliseconds = 30000;

// The first line the server prints.
std::string readLine(int fd) {
    std::string line;
    char c = 0;
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, kStartFailsafeMilliseconds) <= 0)
            throw std::runtime_error("the test server did not start");
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw std::runtime_error("the test server ended at its start");
        if (c == '\n') return line;
        line += c;
    }
}

} // namespace

ScriptServer::ScriptServer(const std::vector<std::string>& argv) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) throw std::runtime_error("cannot make pipes for the test server");
    if (::pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        throw std::runtime_error("cannot make pipes for the test server");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::vector<std::string> words = argv;
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, words.front().c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) pid_ = -1;
    ::close(input[0]);
    ::close(output[1]);
    toServer_ = input[1];
    try {
        if (spawned != 0) throw std::runtime_error("cannot start " + words.front());
        const std::string first = readLine(output[0]);
        if (first.starts_with("skip: ")) skipReason_ = first.substr(6);
        else port_ = std::stoi(first);
    } catch (...) {
        ::close(output[0]);
        stop();
        throw;
    }
    ::close(output[0]);
}

ScriptServer::ScriptServer(ScriptServer&& other) noexcept
    : pid_(other.pid_), toServer_(other.toServer_), port_(other.port_), skipReason_(std::move(other.skipReason_)) {
    other.pid_ = -1;
    other.toServer_ = -1;
}

ScriptServer::~ScriptServer() { stop(); }

void ScriptServer::stop() {
    if (toServer_ >= 0) ::close(toServer_);
    toServer_ = -1;
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM); // a connection thread may still be busy; the servers keep no state
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
