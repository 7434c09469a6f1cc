#pragma once

#include "platform/xaudio/XA_Message.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// A notification sink for tests: keeps every record and lets the test thread wait for one.
class NotificationRecorder : public XA_NotificationSink {
public:
    void post(const XA_Message& message) override;

    // Waits until a record matching the predicate arrived after the first `from` records; returns
    // its index, or -1 when none came within a generous failsafe (a hung player, not a timing test).
    int waitFor(const std::function<bool(const XA_Message&)>& match, std::size_t from = 0);
    int waitForState(unsigned char state, std::size_t from = 0);
    int waitForCode(std::uint32_t code, std::size_t from = 0);
    std::vector<XA_Message> messages() const;
    std::size_t count() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<XA_Message> messages_;
};
