#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The per-user settings: text, integer and byte values addressed by section and key. A read
// returns its default when the value is missing; a write takes effect at once.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string getText(const std::string& section, const std::string& key,
                                const std::string& fallback) const = 0;
    virtual int getInt(const std::string& section, const std::string& key, int fallback) const = 0;
    // The stored bytes, or nothing when the value is missing.
    virtual std::optional<std::vector<std::uint8_t>> getBytes(const std::string& section,
                                                              const std::string& key) const = 0;
    virtual void writeText(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
};
