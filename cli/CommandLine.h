#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The arguments of one quarvel-cli command: positional words, switches ("--page") and options
// with a value ("--size TEXT" or "--size=TEXT").
class CommandLine {
public:
    CommandLine(std::set<std::string> switches, std::set<std::string> options);

    // False with error() set when an argument is unknown or an option lacks its value.
    bool parse(const std::vector<std::string>& arguments);
    const std::string& error() const { return error_; }

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;

private:
    std::set<std::string> switches_;
    std::set<std::string> options_;
    std::vector<std::string> positional_;
    std::set<std::string> given_;
    std::map<std::string, std::string> values_;
    std::string error_;
};
