#pragma once

#include "platform/xaudio/XA_Feedback.h"

#include <string>

class LevelHandler;

// The feedback module compiled into the program: the playback component finds it through the
// entry's address (command 125) and calls it on its decoding thread. It makes the "sample-spectrum",
// "sample-vu" and "sample-oscilloscope" handlers and keeps one shared level handler for the two
// level meters, replaced at each creation.
class FeedbackModule {
public:
    // Fills the descriptor; 0.
    static int entry(XA_FeedbackModuleDescriptor* descriptor);
    // "function@%08lx" with the entry's address: what command 125 takes.
    static std::string entryText();

    static int probe(const char* name);
    static int query(XA_FeedbackQueryRecord* record, unsigned long flags);
    static int create(XA_FeedbackHandlerInstance** instance, const char* name, void* ignored, void* client,
                      const XA_FeedbackEnvironment* environment);
    static int destroy(XA_FeedbackHandlerInstance* instance);
    static int nothing();
    static int release();
    static int handleEvent(XA_FeedbackHandlerInstance* instance, const XA_FeedbackEvent* event);

    static const LevelHandler* levelHandler();

    static constexpr int UnknownIndex = -102;
};
