#pragma once

#include "base/SettingsStore.h"

#include <QSettings>

// The settings store of the desktop program: QSettings("OzmoMp3s", "vyx31") in its native format
// (an INI file in the user's config folder); each section is a group.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();

    std::string getText(const std::string& section, const std::string& key, const std::string& fallback) const override;
    int getInt(const std::string& section, const std::string& key, int fallback) const override;
    std::optional<std::vector<std::uint8_t>> getBytes(const std::string& section, const std::string& key) const override;
    void writeText(const std::string& section, const std::string& key, const std::string& value) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;

    // Where the settings file lies.
    QString fileName() const { return settings_.fileName(); }

private:
    static QString address(const std::string& section, const std::string& key);

    mutable QSettings settings_;
};
