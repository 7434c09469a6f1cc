#include "transfer/SetServer.h"

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

// The first line the server prints, waiting at most a generous failsafe for a slow start.
std::string readLine(int fd) {
    std::string line;
    char c = 0;
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 30000) <= 0) throw std::runtime_error("the test server did not start");
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw std::runtime_error("the test server ended at its start");
        if (c == '\n') return line;
        line += c;
    }
}

} // namespace

SetServer::SetServer(const std::string& kind, const std::string& folder, const std::vector<std::string>& options)
    : kind_(kind) {
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make pipes for the test server");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::vector<std::string> words{QUARVEL_TEST_PYTHON, QUARVEL_TEST_SET_SERVER, kind, folder};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, words.front().c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
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

SetServer::~SetServer() { stop(); }

void SetServer::stop() {
    if (toServer_ >= 0) ::close(toServer_);
    toServer_ = -1;
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM); // a connection thread may still be busy; the server keeps no state
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string SetServer::url(const std::string& name) const {
    return kind_ + "://127.0.0.1:" + std::to_string(port_) + "/" + name;
}
