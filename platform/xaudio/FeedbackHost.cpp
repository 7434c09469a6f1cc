#include "platform/xaudio/FeedbackHost.h"

#include "platform/xaudio/XaudioPlayback.h"

#include <algorithm>
#include <cstdlib>

FeedbackHost::FeedbackHost() {
    environment_.getClientValue = &FeedbackHost::clientValue;
}

FeedbackHost::~FeedbackHost() {
    destroyHandler();
    if (moduleLoaded_ && module_.release) module_.release();
}

int FeedbackHost::setModule(const std::string& text) {
    const std::string prefix = "function@";
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() == prefix.size()) return XA::InvalidParameters;
    char* end = nullptr;
    const unsigned long long address = std::strtoull(text.c_str() + prefix.size(), &end, 16);
    if (*end != '\0' || address == 0) return XA::InvalidParameters;
    destroyHandler();
    if (moduleLoaded_ && module_.release) module_.release();
    moduleLoaded_ = false;
    // The client names a function of its own process: that is how a compiled-in module is found.
    const auto entry = reinterpret_cast<XA_FeedbackModuleEntry>(static_cast<std::uintptr_t>(address));
    XA_FeedbackModuleDescriptor descriptor{};
    if (entry(&descriptor) != 0 || descriptor.version != XA::FeedbackInterfaceVersion || !descriptor.create ||
        !descriptor.destroy || !descriptor.handleEvent)
        return XA::FeedbackModuleFailed;
    module_ = descriptor;
    moduleLoaded_ = true;
    return started_ ? createHandler() : 0;
}

int FeedbackHost::selectHandler(const std::string& name) {
    if (moduleLoaded_ && module_.probe && module_.probe(name.c_str()) != 0) return XA::FeedbackHandlerFailed;
    handlerName_ = name;
    destroyHandler();
    return started_ ? createHandler() : 0;
}

int FeedbackHost::start() {
    started_ = true;
    return instance_ ? 0 : createHandler();
}

void FeedbackHost::stop() {
    started_ = false;
    destroyHandler();
}

int FeedbackHost::createHandler() {
    if (!moduleLoaded_ || handlerName_.empty()) return 0; // created once both are known
    XA_FeedbackHandlerInstance* instance = nullptr;
    if (module_.create(&instance, handlerName_.c_str(), nullptr, this, &environment_) != 0 || !instance)
        return XA::FeedbackHandlerFailed;
    instance_ = instance;
    return 0;
}

void FeedbackHost::destroyHandler() {
    if (instance_) module_.destroy(instance_);
    instance_ = nullptr;
}

int FeedbackHost::clientValue(void* client, const char* name, std::intptr_t* value) {
    const auto* host = static_cast<FeedbackHost*>(client);
    if (!host || !name || !value) return XA::InvalidParameters;
    const auto found = host->clientValues_.find(name);
    if (found == host->clientValues_.end()) return XA::InvalidParameters;
    *value = found->second;
    return 0;
}

void FeedbackHost::feed(const std::int16_t* samples, std::size_t frames, int channels) {
    if (!instance_ || channels < 1 || channels > 2) return;
    // The 16-bit count of the event record bounds one block.
    while (frames > 0) {
        const std::size_t count = std::min<std::size_t>(frames, 4096);
        block_.resize(count * channels);
        for (std::size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                block_[c * count + i] = static_cast<std::int8_t>(samples[i * channels + c] >> 8);
        XA_FeedbackEvent event;
        event.channels = static_cast<std::uint16_t>(channels);
        event.samplesPerChannel = static_cast<std::uint16_t>(count);
        event.samples = block_.data();
        module_.handleEvent(instance_, &event);
        samples += count * channels;
        frames -= count;
    }
}
