#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// One argument of a command: none (a null pointer), a whole number, a text, or an equalizer table
// of 64 signed bytes (32 bands left, 32 right).
class XA_Argument {
public:
    using EqualizerTable = std::array<std::int8_t, 64>;

    XA_Argument(std::nullptr_t) {}
    XA_Argument(int number) : value_(static_cast<long long>(number)) {}
    XA_Argument(long number) : value_(static_cast<long long>(number)) {}
    XA_Argument(long long number) : value_(number) {}
    XA_Argument(unsigned number) : value_(static_cast<long long>(number)) {}
    XA_Argument(const char* text) {
        if (text) value_ = std::string(text);
    }
    XA_Argument(std::string text) : value_(std::move(text)) {}
    // A pointer to 64 bytes, as the equalizer command takes it; null switches the equalizer off.
    XA_Argument(const std::int8_t* table) {
        if (table) {
            EqualizerTable copy{};
            for (std::size_t i = 0; i < copy.size(); ++i) copy[i] = table[i];
            value_ = copy;
        }
    }
    XA_Argument(const EqualizerTable& table) : value_(table) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    std::optional<long long> number() const;
    std::optional<std::string> text() const;
    std::optional<EqualizerTable> table() const;

private:
    std::variant<std::monostate, long long, std::string, EqualizerTable> value_;
};

struct XA_Command {
    int code = 0;
    std::vector<XA_Argument> arguments;

    std::size_t count() const { return arguments.size(); }
    bool nullAt(std::size_t i) const { return i >= arguments.size() || arguments[i].isNull(); }
    std::optional<long long> numberAt(std::size_t i) const {
        return i < arguments.size() ? arguments[i].number() : std::nullopt;
    }
    std::optional<std::string> textAt(std::size_t i) const {
        return i < arguments.size() ? arguments[i].text() : std::nullopt;
    }
};

inline std::optional<long long> XA_Argument::number() const {
    if (auto* n = std::get_if<long long>(&value_)) return *n;
    return std::nullopt;
}
inline std::optional<std::string> XA_Argument::text() const {
    if (auto* t = std::get_if<std::string>(&value_)) return *t;
    return std::nullopt;
}
inline std::optional<XA_Argument::EqualizerTable> XA_Argument::table() const {
    if (auto* t = std::get_if<EqualizerTable>(&value_)) return *t;
    return std::nullopt;
}
