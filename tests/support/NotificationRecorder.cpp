#include "support/NotificationRecorder.h"

#include "platform/xaudio/XA_Codes.h"

#include <chrono>

void NotificationRecorder::post(const XA_Message& message) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
    }
    arrived_.notify_all();
}

int NotificationRecorder::waitFor(const std::function<bool(const XA_Message&)>& match, std::size_t from) {
    std::unique_lock lock(mutex_);
    int found = -1;
    arrived_.wait_for(lock, std::chrono::seconds(120), [&] {
        for (std::size_t i = from; i < messages_.size(); ++i)
            if (match(messages_[i])) {
                found = static_cast<int>(i);
                return true;
            }
        return false;
    });
    return found;
}

int NotificationRecorder::waitForState(unsigned char state, std::size_t from) {
    return waitFor([state](const XA_Message& m) { return m.code() == XA::PlayerState && m.byteAt(4) == state; }, from);
}

int NotificationRecorder::waitForCode(std::uint32_t code, std::size_t from) {
    return waitFor([code](const XA_Message& m) { return m.code() == code; }, from);
}

std::vector<XA_Message> NotificationRecorder::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::size_t NotificationRecorder::count() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}
