#pragma once

// What passes between the playback component and a feedback module (the drawing code that shows
// the sound): the module's descriptor, the query record, the event record and the table of
// callbacks into the component. The component finds the module's entry function from command 125
// ("function@%lx" with the entry's address) and creates handlers by name (command 141).

#include <cstddef>
#include <cstdint>

// The part of a handler that the component holds; modules derive their handlers from it.
struct XA_FeedbackHandlerInstance {
    virtual ~XA_FeedbackHandlerInstance() = default;
};

// A block of samples: signed 8-bit; with two channels all left samples come first, then all right.
struct XA_FeedbackEvent {
    std::uint8_t reserved[12] = {};
    std::uint16_t channels = 0;
    std::uint16_t samplesPerChannel = 0;
    const std::int8_t* samples = nullptr;
};
static_assert(offsetof(XA_FeedbackEvent, channels) == 12);
static_assert(offsetof(XA_FeedbackEvent, samplesPerChannel) == 14);
static_assert(offsetof(XA_FeedbackEvent, samples) == 16);

struct XA_FeedbackQueryRecord {
    std::int32_t index = 0; // handler index in, handler count out
    std::int32_t flags = 0;
    char name[255] = {};
    char description[255] = {};
};
static_assert(offsetof(XA_FeedbackQueryRecord, name) == 8);
static_assert(offsetof(XA_FeedbackQueryRecord, description) == 263);

// Callbacks into the component. getClientValue fills *value with what command 145 stored under
// the name and returns 0, or returns non-zero when nothing is stored. Values are pointer-sized:
// they carry the addresses of the client's drawing and level sinks.
struct XA_FeedbackEnvironment {
    int (*getClientValue)(void* client, const char* name, std::intptr_t* value);
};

struct XA_FeedbackModuleDescriptor {
    unsigned long version = 0;
    int (*probe)(const char* name) = nullptr;
    int (*query)(XA_FeedbackQueryRecord* record, unsigned long flags) = nullptr;
    int (*create)(XA_FeedbackHandlerInstance** instance, const char* name, void* ignored, void* client,
                  const XA_FeedbackEnvironment* environment) = nullptr;
    int (*destroy)(XA_FeedbackHandlerInstance* instance) = nullptr;
    int (*nothing)() = nullptr;
    int (*release)() = nullptr;
    void* reserved = nullptr;
    int (*handleEvent)(XA_FeedbackHandlerInstance* instance, const XA_FeedbackEvent* event) = nullptr;
};

using XA_FeedbackModuleEntry = int (*)(XA_FeedbackModuleDescriptor* descriptor);

namespace XA {
constexpr unsigned long FeedbackInterfaceVersion = 0x30801;
}
