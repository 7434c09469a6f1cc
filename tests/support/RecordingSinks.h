#pragma once

#include "base/MessageBoxSink.h"
#include "base/StatusSink.h"

#include <string>
#include <vector>

// Keeps every status text and message box an engine shows, in order.
class RecordingSinks : public StatusSink, public MessageBoxSink {
public:
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void showStopBox(const std::string& text) override { boxes.push_back(text); }
    std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }

    std::vector<std::string> statuses;
    std::vector<std::string> boxes;
};
