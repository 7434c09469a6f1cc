#include "support/CliRun.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <fcntl.h>

extern char** environ;

namespace {

// waitpid with a deadline: false when the child still runs when the limit is up.
bool waitWithin(pid_t pid, int& status, std::chrono::seconds limit) {
    if (limit == std::chrono::seconds::zero()) return waitpid(pid, &status, 0) == pid;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& added) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& add : added) replaced = replaced || add.compare(0, name.size(), name) == 0;
        if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), added.begin(), added.end());
    return merged;
}

} // namespace

CliRun CliRun::run(const std::vector<std::string>& arguments, std::chrono::seconds limit) {
    const char* cli = std::getenv("QUARVEL_CLI");
    if (!cli) throw std::runtime_error("QUARVEL_CLI is not set");
    return runProgram(cli, arguments, {}, limit);
}

CliRun CliRun::runProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, std::chrono::seconds limit) {
    TempFolder capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = mergedEnvironment(environment);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    int status = 0;
    CliRun result;
    if (!waitWithin(pid, status, limit)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        result.timedOut = true;
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = FileBytes::readText(outPath);
    result.err = FileBytes::readText(errPath);
    return result;
}
