// The feedback module and its handlers, drawn into pixel buffers and read back.

#include "player/BarGraph.h"
#include "player/FeedbackModule.h"
#include "player/LevelHandler.h"
#include "player/OscilloscopeHandler.h"
#include "player/SpectrumHandler.h"
#include "player/VUHandler.h"
#include "player/RecordingPlayerForm.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

XA_FeedbackEvent eventOf(std::vector<std::int8_t>& samples, int channels) {
    XA_FeedbackEvent event;
    event.channels = static_cast<std::uint16_t>(channels);
    event.samplesPerChannel = static_cast<std::uint16_t>(samples.size() / channels);
    event.samples = samples.data();
    return event;
}

// Columns [x, x + w) hold colour in rows [y, y + h) and nothing else in those columns.
bool columnShows(const DrawingSurface& s, int x, int w, int y, int h, std::uint32_t colour) {
    for (int col = x; col < x + w; ++col)
        for (int row = 0; row < s.height(); ++row)
            if (s.pixel(col, row) != ((row >= y && row < y + h) ? colour : 0u)) return false;
    return true;
}

// A bar as drawn: value rows of bar colour from the bottom, the 3-row peak marker over them.
bool barShows(const DrawingSurface& s, int x, const BarGraph::Bar& bar) {
    for (int col = x; col < x + bar.width; ++col)
        for (int row = 0; row < s.height(); ++row) {
            const std::uint32_t expected = (row >= bar.peak && row < bar.peak + 3) ? BarGraph::PeakColour
                                           : row < bar.value                       ? BarGraph::BarColour
                                                                                   : 0u;
            if (s.pixel(col, row) != expected) return false;
        }
    return true;
}

bool blank(const DrawingSurface& s, int x, int w) {
    return columnShows(s, x, w, 0, 0, 0);
}

TEST(BarGraphTest, PeakFollowsTheValueThenFallsEverFaster) {
    DrawingSurface surface(nullptr, 100, 80);
    BarGraph graph(surface, 1, 4, 1, 64);
    const int inputs[] = {64, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const int values[] = {32, 48, 24, 12, 6, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const int peaks[] = {32, 48, 48, 48, 48, 48, 47, 46, 45, 44, 42, 40, 38, 36, 33, 30, 27, 24, 20, 16, 0};
    for (std::size_t i = 0; i < std::size(inputs); ++i) {
        graph.update(0, inputs[i]);
        EXPECT_EQ(graph.bar(0).value, values[i]) << "step " << i;
        EXPECT_EQ(graph.bar(0).peak, peaks[i]) << "step " << i;
    }
}

TEST(SpectrumHandlerTest, AWindowShowsOnlyTheBarsThatFit) {
    // An impulse in the middle of the block has a flat spectrum: every bar gets the same value.
    std::vector<std::int8_t> samples(256, 0);
    samples[64] = 127;
    for (const int width : {256, 320}) {
        SCOPED_TRACE(width);
        RecordingSurface window;
        SpectrumHandler handler(&window, width, 80);
        XA_FeedbackEvent event = eventOf(samples, 2);
        handler.handleEvent(event);
        ASSERT_GT(handler.bars().bar(0).value, 5);
        const int lastFitting = width == 256 ? 50 : 62; // x + 4 < width
        for (int bar = 0; bar < 63; ++bar) {
            const int x = bar * 5;
            if (bar <= lastFitting)
                EXPECT_TRUE(barShows(handler.surface(), x, handler.bars().bar(bar))) << bar;
            else
                EXPECT_TRUE(blank(handler.surface(), x, 4)) << bar;
        }
        EXPECT_EQ(window.presents, 1);
        EXPECT_EQ(window.lastWidth, width);
    }
}

TEST(VUHandlerTest, BarsReachingTheHeightAreNotDrawn) {
    std::vector<std::int8_t> loud(64, 32); // first update: value 16
    RecordingSurface window;
    VUHandler handler(&window, 80, 20);
    XA_FeedbackEvent event = eventOf(loud, 2);
    handler.handleEvent(event);
    // Value 16 and its marker at rows 16-18 fit under 20 rows.
    EXPECT_EQ(handler.surface().pixel(0, 0), BarGraph::BarColour);
    EXPECT_EQ(handler.surface().pixel(31, 15), BarGraph::BarColour);
    EXPECT_EQ(handler.surface().pixel(0, 16), BarGraph::PeakColour);
    EXPECT_EQ(handler.surface().pixel(0, 18), BarGraph::PeakColour);
    EXPECT_EQ(handler.surface().pixel(0, 19), 0u);
    std::vector<std::int8_t> louder(64, 127);
    event = eventOf(louder, 2);
    handler.handleEvent(event); // value (64 + 16) / 2 = 40: taller than the surface
    EXPECT_TRUE(blank(handler.surface(), 0, 80));
}

TEST(VUHandlerTest, SilenceLeavesOnlyThePeakMarkersAndGreenMetersAtZero) {
    std::vector<std::int8_t> silence(128, 0);
    for (std::size_t i = 0; i < silence.size(); i += 2) silence[i] = -40; // negative samples count as 0
    RecordingSurface window;
    VUHandler handler(&window, 256, 80);
    RecordingMeter left, right;
    LevelHandler levels(&left, &right);
    XA_FeedbackEvent event = eventOf(silence, 2);
    handler.handleEvent(event);
    levels.handleEvent(event);
    EXPECT_TRUE(columnShows(handler.surface(), 0, 32, 0, 3, BarGraph::PeakColour));
    EXPECT_TRUE(blank(handler.surface(), 32, 4));
    EXPECT_TRUE(columnShows(handler.surface(), 36, 32, 0, 3, BarGraph::PeakColour));
    EXPECT_TRUE(blank(handler.surface(), 68, 256 - 68));
    for (RecordingMeter* meter : {&left, &right}) {
        EXPECT_EQ(meter->level, 0);
        EXPECT_EQ(meter->colour, LevelHandler::Green);
    }
}

TEST(LevelHandlerTest, ColourFollowsTheLevel) {
    const std::pair<int, std::uint32_t> cases[] = {
        {0, LevelHandler::Green}, {99, LevelHandler::Green}, {100, LevelHandler::Yellow},
        {120, LevelHandler::Yellow}, {121, LevelHandler::Red}, {127, LevelHandler::Red}};
    for (const auto& [level, colour] : cases) EXPECT_EQ(LevelHandler::colourFor(level), colour) << level;
    // Mono: both meters take the largest sample; a missing meter is skipped.
    std::vector<std::int8_t> samples{3, 110, -120, 7};
    RecordingMeter right;
    LevelHandler levels(nullptr, &right);
    XA_FeedbackEvent event = eventOf(samples, 1);
    levels.handleEvent(event);
    EXPECT_EQ(right.level, 110);
    EXPECT_EQ(right.colour, LevelHandler::Yellow);
}

TEST(OscilloscopeHandlerTest, EachEventErasesThePreviousPoints) {
    RecordingSurface window;
    OscilloscopeHandler handler(&window, 256, 80);
    std::vector<std::int8_t> flat(100, 0);
    XA_FeedbackEvent event = eventOf(flat, 1);
    handler.handleEvent(event);
    EXPECT_EQ(handler.surface().pixel(10, 40), 0xFFFFFFu);
    std::vector<std::int8_t> high(50, 64);
    event = eventOf(high, 1);
    handler.handleEvent(event);
    EXPECT_EQ(handler.surface().pixel(10, 40), 0u);        // erased
    EXPECT_EQ(handler.surface().pixel(10, 60), 0xFFFFFFu); // 64 x 80 / 256 + 40
    EXPECT_EQ(handler.surface().pixel(70, 40), 0xFFFFFFu); // beyond the second event's samples
    std::vector<std::int8_t> low(10, -128);
    event = eventOf(low, 1);
    handler.handleEvent(event);
    EXPECT_EQ(handler.surface().pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(window.presents, 3);
}

// The component's side of creation: client values by name.
struct FakeClient {
    std::map<std::string, std::intptr_t> values;
    static int get(void* client, const char* name, std::intptr_t* value) {
        auto& map = static_cast<FakeClient*>(client)->values;
        const auto found = map.find(name);
        if (found == map.end()) return -7;
        *value = found->second;
        return 0;
    }
};

TEST(FeedbackModuleTest, DescriptorProbeAndQuery) {
    XA_FeedbackModuleDescriptor d;
    ASSERT_EQ(FeedbackModule::entry(&d), 0);
    EXPECT_EQ(d.version, 198657u);
    EXPECT_EQ(d.reserved, nullptr);
    EXPECT_EQ(d.nothing(), 0);
    const std::pair<const char*, int> names[] = {{"sample-spectrum", 0}, {"sample-vu", 0}, {"sample-level", 0},
                                                 {"sample-oscilloscope-wide", 0}, {"sample-v", -1}, {"other", -1}};
    for (const auto& [name, result] : names) EXPECT_EQ(d.probe(name), result) << name;

    XA_FeedbackQueryRecord record;
    EXPECT_EQ(d.query(&record, 1 | 2), 0);
    EXPECT_STREQ(record.name, "Sample Feedback Module");
    EXPECT_STREQ(record.description, "Version 1.0");
    EXPECT_EQ(record.index, 1);
    EXPECT_EQ(record.flags, 0);
    record = {};
    record.index = 2;
    record.flags = 9;
    EXPECT_EQ(d.query(&record, 4), 0);
    EXPECT_STREQ(record.name, "sample-oscilloscope");
    EXPECT_STREQ(record.description, "sample feedback handler");
    EXPECT_EQ(record.flags, 0);
    record.index = 4;
    EXPECT_EQ(d.query(&record, 4), FeedbackModule::UnknownIndex);
}

TEST(FeedbackModuleTest, CreatesHandlersFromTheClientValues) {
    XA_FeedbackModuleDescriptor d;
    FeedbackModule::entry(&d);
    const XA_FeedbackEnvironment environment{&FakeClient::get};
    RecordingSurface window;
    RecordingMeter left;
    FakeClient client;
    XA_FeedbackHandlerInstance* instance = nullptr;

    // Without a window value the query's own code comes back.
    EXPECT_EQ(d.create(&instance, "sample-vu", nullptr, &client, &environment), -7);
    EXPECT_EQ(instance, nullptr);

    client.values["CLIENT.FEEDBACK-WINDOW"] = reinterpret_cast<std::intptr_t>(&window);
    EXPECT_EQ(d.create(&instance, "sample-level", nullptr, &client, &environment), -1);
    EXPECT_EQ(instance, nullptr);

    client.values["CLIENT.LEVEL-LEFT"] = reinterpret_cast<std::intptr_t>(&left);
    ASSERT_EQ(d.create(&instance, "sample-vu", nullptr, &client, &environment), 0);
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(FeedbackModule::levelHandler(), nullptr);
    std::vector<std::int8_t> samples(64, 50);
    XA_FeedbackEvent event = eventOf(samples, 2);
    EXPECT_EQ(d.handleEvent(instance, &event), 0);
    EXPECT_EQ(window.lastWidth, 256); // the defaults when the client gives no size
    EXPECT_EQ(window.lastHeight, 80);
    EXPECT_EQ(left.level, 50);
    EXPECT_EQ(d.destroy(instance), 0);
    EXPECT_EQ(FeedbackModule::levelHandler(), nullptr);
    EXPECT_EQ(d.handleEvent(nullptr, &event), 0);
    EXPECT_EQ(d.release(), 0);
}

} // namespace
