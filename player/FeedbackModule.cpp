#include "player/FeedbackModule.h"

#include "base/TextFormat.h"
#include "player/HandlerException.h"
#include "player/LevelHandler.h"
#include "player/OscilloscopeHandler.h"
#include "player/SpectrumHandler.h"
#include "player/VUHandler.h"

#include <cstring>
#include <new>

namespace {

const char* const kHandlerNames[] = {"sample-spectrum", "sample-vu", "sample-oscilloscope", "sample-level"};

// The one level handler; only the component's decoding thread touches it.
LevelHandler* sharedLevel = nullptr;

void copyText(char* target, std::size_t size, const char* text) {
    std::strncpy(target, text, size - 1);
    target[size - 1] = '\0';
}

// A client value, or the default when the component has none stored under the name.
std::intptr_t askOr(const XA_FeedbackEnvironment* environment, void* client, const char* name, std::intptr_t fallback) {
    std::intptr_t value = 0;
    return environment->getClientValue(client, name, &value) == 0 ? value : fallback;
}

Handler* makeHandler(const std::string& name, FeedbackSurfaceSink* window, int width, int height) {
    if (name == "sample-spectrum") return new SpectrumHandler(window, width, height);
    if (name == "sample-vu") return new VUHandler(window, width, height);
    if (name == "sample-oscilloscope") return new OscilloscopeHandler(window, width, height);
    return nullptr;
}

} // namespace

int FeedbackModule::entry(XA_FeedbackModuleDescriptor* descriptor) {
    descriptor->version = XA::FeedbackInterfaceVersion;
    descriptor->probe = &probe;
    descriptor->query = &query;
    descriptor->create = &create;
    descriptor->destroy = &destroy;
    descriptor->nothing = &nothing;
    descriptor->release = &release;
    descriptor->reserved = nullptr;
    descriptor->handleEvent = &handleEvent;
    return 0;
}

std::string FeedbackModule::entryText() {
    return TextFormat::format("function@%08lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(&entry)));
}

int FeedbackModule::probe(const char* name) {
    if (!name) return -1;
    for (const char* known : kHandlerNames)
        if (std::strncmp(name, known, std::strlen(known)) == 0) return 0;
    return -1;
}

int FeedbackModule::query(XA_FeedbackQueryRecord* record, unsigned long flags) {
    if (flags & 1) {
        copyText(record->name, sizeof record->name, "Sample Feedback Module");
        copyText(record->description, sizeof record->description, "Version 1.0");
    }
    if (flags & 2) record->index = 1;
    if (flags & 1) {
        record->flags = 0;
        return 0;
    }
    if (!(flags & 4)) return 0;
    if (record->index < 0 || record->index >= 4) return UnknownIndex;
    copyText(record->name, sizeof record->name, kHandlerNames[record->index]);
    copyText(record->description, sizeof record->description, "sample feedback handler");
    record->flags = 0;
    return 0;
}

int FeedbackModule::create(XA_FeedbackHandlerInstance** instance, const char* name, void*, void* client,
                           const XA_FeedbackEnvironment* environment) {
    *instance = nullptr;
    std::intptr_t window = 0;
    if (const int result = environment->getClientValue(client, "CLIENT.FEEDBACK-WINDOW", &window)) return result;
    const int width = static_cast<int>(askOr(environment, client, "CLIENT.FEEDBACK-WINDOW-WIDTH", 256));
    const int height = static_cast<int>(askOr(environment, client, "CLIENT.FEEDBACK-WINDOW-HEIGHT", 80));
    Handler* handler = nullptr;
    try {
        handler = makeHandler(name ? name : "", reinterpret_cast<FeedbackSurfaceSink*>(window), width, height);
        if (!handler) return -1;
    } catch (const HandlerException&) {
        return -1; // the handler could not be built: creation fails
    } catch (const std::bad_alloc&) {
        return 0; // no instance
    }
    auto* left = reinterpret_cast<LevelMeterSink*>(askOr(environment, client, "CLIENT.LEVEL-LEFT", 0));
    auto* right = reinterpret_cast<LevelMeterSink*>(askOr(environment, client, "CLIENT.LEVEL-RIGHT", 0));
    // The component destroys a handler before it creates the next one, which deleted the old
    // level handler; one that is still there is deleted here rather than lost.
    delete sharedLevel;
    sharedLevel = new (std::nothrow) LevelHandler(left, right);
    *instance = handler;
    return 0;
}

int FeedbackModule::destroy(XA_FeedbackHandlerInstance* instance) {
    delete instance;
    delete sharedLevel;
    sharedLevel = nullptr;
    return 0;
}

int FeedbackModule::nothing() {
    return 0;
}

int FeedbackModule::release() {
    delete sharedLevel;
    sharedLevel = nullptr;
    return 0;
}

int FeedbackModule::handleEvent(XA_FeedbackHandlerInstance* instance, const XA_FeedbackEvent* event) {
    if (!event) return 0;
    if (auto* handler = dynamic_cast<Handler*>(instance)) handler->handleEvent(*event);
    if (sharedLevel) sharedLevel->handleEvent(*event);
    return 0;
}

const LevelHandler* FeedbackModule::levelHandler() {
    return sharedLevel;
}
