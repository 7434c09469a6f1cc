#include "cli/CommandLine.h"

#include <cstdio>

CommandLine::CommandLine(std::set<std::string> switches, std::set<std::string> options)
    : switches_(std::move(switches)), options_(std::move(options)) {
    switches_.insert("--help");
}

bool CommandLine::parse(const std::vector<std::string>& arguments) {
    bool onlyPositional = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyPositional || argument.size() < 2 || argument.rfind("--", 0) != 0) {
            if (argument == "-h" && !onlyPositional) {
                given_.insert("--help");
                continue;
            }
            positional_.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyPositional = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (switches_.count(name) && equals == std::string::npos) {
            given_.insert(name);
        } else if (options_.count(name)) {
            if (equals != std::string::npos) {
                values_[name] = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                values_[name] = arguments[++i];
            } else {
                error_ = "option " + name + " needs a value";
                return false;
            }
            given_.insert(name);
        } else {
            error_ = "unknown option " + argument;
            return false;
        }
    }
    return true;
}

bool CommandLine::has(const std::string& name) const { return given_.count(name) != 0; }

std::optional<std::string> CommandLine::value(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::optional<int> CommandLine::start(const std::vector<std::string>& arguments, const char* usage,
                                      std::size_t positionalCount) {
    return start(arguments, usage, positionalCount, positionalCount);
}

std::optional<int> CommandLine::start(const std::vector<std::string>& arguments, const char* usage,
                                      std::size_t fewest, std::size_t most) {
    if (parse(arguments) && has("--help")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (error_.empty() && positional_.size() >= fewest && positional_.size() <= most) return std::nullopt;
    if (!error_.empty()) std::fprintf(stderr, "quarvel-cli: %s\n", error_.c_str());
    std::fputs(usage, stderr);
    return 2;
}

bool CommandLine::fileNameValue(const std::string& name, std::optional<std::string>& value) const {
    value = this->value(name);
    if (value && (value->empty() || value->find('/') != std::string::npos)) {
        std::fprintf(stderr, "quarvel-cli: %s takes a file name; --out sets the folder\n", name.c_str());
        return false;
    }
    return true;
}

bool CommandLine::shortValue(const std::string& name, std::size_t longest, std::string& value) const {
    value = this->value(name).value_or("");
    if (value.size() <= longest) return true;
    std::fprintf(stderr, "quarvel-cli: %s takes at most %zu characters\n", name.c_str(), longest);
    return false;
}
