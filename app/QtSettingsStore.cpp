#include "app/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore() : settings_(QStringLiteral("OzmoMp3s"), QStringLiteral("vyx31")) {}

QString QtSettingsStore::address(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

std::string QtSettingsStore::getText(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    const QVariant value = settings_.value(address(section, key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

int QtSettingsStore::getInt(const std::string& section, const std::string& key, int fallback) const {
    bool ok = false;
    const int value = settings_.value(address(section, key)).toInt(&ok);
    return ok ? value : fallback;
}

std::optional<std::vector<std::uint8_t>> QtSettingsStore::getBytes(const std::string& section,
                                                                   const std::string& key) const {
    const QVariant value = settings_.value(address(section, key));
    if (!value.isValid()) return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtSettingsStore::writeText(const std::string& section, const std::string& key, const std::string& value) {
    settings_.setValue(address(section, key), QString::fromStdString(value));
    settings_.sync();
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& key, int value) {
    settings_.setValue(address(section, key), value);
    settings_.sync();
}
