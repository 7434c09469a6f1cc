#pragma once

#include <string>
#include <vector>

// Runs quarvel-cli (the path in QUARVEL_CLI) with arguments, no shell in between, and keeps
// what it printed.
struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;

    static CliRun run(const std::vector<std::string>& arguments);
    // Any program, with "NAME=value" texts added to (or replacing those of) the test's environment.
    static CliRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment = {});
};
