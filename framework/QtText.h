#pragma once

#include <QString>

#include <string>

// The border between the engines' UTF-8 std::string and the windows' QString: every window file
// converts through these two.
inline QString fromStd(const std::string& text) { return QString::fromStdString(text); }
inline std::string toStd(const QString& text) { return text.toStdString(); }
