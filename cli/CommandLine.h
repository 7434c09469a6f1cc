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
    // The usual start of a command: parses and checks the number of positional words. When the
    // command should not go on, prints its usage (to standard output for --help, else with the
    // error to standard error) and returns the exit status; empty when it should run.
    std::optional<int> start(const std::vector<std::string>& arguments, const char* usage,
                             std::size_t positionalCount);
    // The same for a command that takes fewest to most positional words.
    std::optional<int> start(const std::vector<std::string>& arguments, const char* usage, std::size_t fewest,
                             std::size_t most);
    // The value of an option that names a file inside a folder given elsewhere: no "/" in it.
    // Empty when absent; false when present but not a plain name.
    bool fileNameValue(const std::string& name, std::optional<std::string>& value) const;
    // The value of an option that holds at most `longest` characters (a crypt key); empty when
    // absent. False, with a message on standard error, when it is longer.
    bool shortValue(const std::string& name, std::size_t longest, std::string& value) const;
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
