#include "cli/DecodeCommand.h"

#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "cli/PlaybackSession.h"
#include "platform/xaudio/XA_Codes.h"
#include "player/EqualizerTable.h"

#include <charconv>
#include <cstdio>
#include <optional>

const char* DecodeCommand::usage() {
    return "usage: quarvel-cli decode SOURCE -o OUT.wav [--pcm N] [--balance N] [--eq P1,...,P8] [--pitch N]\n"
           "\n"
           "Plays SOURCE (an MP3 file or an http:// stream) through the player into the WAV file\n"
           "OUT.wav, printing the player's state texts as they come.\n"
           "  -o, --out FILE  the WAV file to write\n"
           "  --pcm N         PCM level 0-100 (default 100: the samples as decoded)\n"
           "  --balance N     balance 0-100 (0: left only, 50: centre, 100: right only)\n"
           "  --eq P1,...,P8  the eight equalizer sliders as the Player shows them, low to high\n"
           "                  (ranges 20, 20, 30, 40, 60, 80, 90, 100; 100 is about +12 dB)\n"
           "  --pitch N       900-1100: play slower or faster like a turntable (default 1000)\n"
           "\n"
           "A stream that sends no audio for 30 s (QUARVEL_STREAM_TIMEOUT: other whole seconds)\n"
           "fails, as does one that breaks off or answers with an HTTP error.\n";
}

namespace {

std::optional<int> number(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

// "0,0,10,..." -> slider positions (negated: the Player shows raised knobs as positive).
std::optional<EqualizerTable::Positions> equalizerPositions(const std::string& text) {
    EqualizerTable::Positions positions{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        if ((i + 1 < positions.size()) == (comma == std::string::npos)) return std::nullopt;
        const auto value = number(text.substr(start, comma - start), -100, 100);
        if (!value) return std::nullopt;
        positions[i] = -*value;
        start = comma + 1;
    }
    return positions;
}

struct DecodeSettings {
    int pcm = 100;
    int balance = 50;
    int pitch = 1000;
    std::optional<EqualizerTable::Positions> equalizer;
};

bool readSettings(const CommandLine& line, DecodeSettings& settings, ConsoleReporter& reporter) {
    const struct {
        const char* option;
        int low, high;
        int* target;
    } numbers[] = {{"--pcm", 0, 100, &settings.pcm}, {"--balance", 0, 100, &settings.balance}, {"--pitch", 900, 1100, &settings.pitch}};
    for (const auto& n : numbers) {
        const auto text = line.value(n.option);
        if (!text) continue;
        const auto value = number(*text, n.low, n.high);
        if (!value) {
            reporter.error(std::string(n.option) + " takes a whole number from " + std::to_string(n.low) + " to " +
                           std::to_string(n.high));
            return false;
        }
        *n.target = *value;
    }
    if (const auto text = line.value("--eq")) {
        settings.equalizer = equalizerPositions(*text);
        if (!settings.equalizer) {
            reporter.error("--eq takes eight whole numbers from -100 to 100, separated by commas");
            return false;
        }
    }
    return true;
}

} // namespace

int DecodeCommand::run(const std::vector<std::string>& arguments) {
    std::vector<std::string> expanded;
    for (const std::string& a : arguments) expanded.push_back(a == "-o" ? "--out" : a);
    CommandLine line({}, {"--out", "--pcm", "--balance", "--eq", "--pitch"});
    if (const auto exitCode = line.start(expanded, usage(), 1)) return *exitCode;
    ConsoleReporter reporter;
    DecodeSettings settings;
    const auto out = line.value("--out");
    if (!out || out->empty()) {
        reporter.error("decode needs the WAV file to write: -o OUT.wav");
        std::fputs(usage(), stderr);
        return 2;
    }
    if (!readSettings(line, settings, reporter)) return 2;

    PlaybackSession session(reporter);
    if (!session.valid()) {
        reporter.error("the player could not be created");
        return 1;
    }
    XA_PlayerHandle player = session.player();
    control_message_send(player, XA::OutputOpen, "wav:" + *out);
    control_message_send(player, XA::Levels, settings.balance, settings.pcm, 100);
    control_message_send(player, XA::OutputProperty, "OUTPUT.DIRECTSOUND.PITCH", settings.pitch);
    if (settings.equalizer) control_message_send(player, XA::Equalizer, EqualizerTable::build(*settings.equalizer));
    return session.settle() && session.playToEnd(line.positional().front()) ? 0 : 1;
}
