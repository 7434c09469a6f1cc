#pragma once

#include <chrono>
#include <string>
#include <vector>

// Runs quarvel-cli (the path in QUARVEL_CLI) with arguments, no shell in between, and keeps
// what it printed.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    bool timedOut = false; // killed after the time limit; exitCode stays -1

    // A limit (not a timing check, a failsafe): a run that hangs is killed then, so that a
    // regression fails its test instead of holding up the whole test run. Zero: no limit.
    static CliRun run(const std::vector<std::string>& arguments, std::chrono::seconds limit = std::chrono::seconds::zero());
    // Any program, with "NAME=value" texts added to (or replacing those of) the test's environment.
    static CliRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment = {},
                             std::chrono::seconds limit = std::chrono::seconds::zero());
};
