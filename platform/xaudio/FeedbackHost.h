#pragma once

#include "platform/xaudio/XA_Feedback.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The component's side of the feedback module: loads the module from its entry address, keeps
// the client values of command 145, creates the selected handler while feedback runs and feeds it
// the samples that go to the output. Lives on the decoding thread.
class FeedbackHost {
public:
    FeedbackHost();
    ~FeedbackHost();
    FeedbackHost(const FeedbackHost&) = delete;
    FeedbackHost& operator=(const FeedbackHost&) = delete;

    // "function@%lx": 0 or an XA::Error code.
    int setModule(const std::string& text);
    void setClientValue(const std::string& name, std::intptr_t value) { clientValues_[name] = value; }
    int selectHandler(const std::string& name);
    int start();
    void stop();
    bool running() const { return instance_ != nullptr; }

    // Interleaved 16-bit samples as they go to the output.
    void feed(const std::int16_t* samples, std::size_t frames, int channels);

private:
    int createHandler();
    void destroyHandler();
    static int clientValue(void* client, const char* name, std::intptr_t* value);

    XA_FeedbackModuleDescriptor module_{};
    bool moduleLoaded_ = false;
    bool started_ = false;
    std::string handlerName_;
    XA_FeedbackHandlerInstance* instance_ = nullptr;
    std::map<std::string, std::intptr_t> clientValues_;
    XA_FeedbackEnvironment environment_{};
    std::vector<std::int8_t> block_;
};
