// From a Stop command to the STOPPED notification while the player plays into a WAV file:
// prints the median of many stops. Usage: playback_stop_bench FILE.mp3 [RUNS]

#include "platform/xaudio/XA_Codes.h"
#include "platform/xaudio/XaudioPlayback.h"
#include "support/NotificationRecorder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: playback_stop_bench FILE.mp3 [RUNS]\n");
        return 2;
    }
    const std::string mp3 = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 51;
    const std::string wav = (std::filesystem::temp_directory_path() / "quarvel-stop-bench.wav").string();
    NotificationRecorder recorder;
    XA_PlayerHandle player = nullptr;
    if (player_new(&player, &recorder) != 0) return 1;
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        const std::size_t from = recorder.count();
        control_message_send(player, XA::OutputOpen, "wav:" + wav);
        control_message_send(player, XA::InputOpen, mp3);
        control_message_send(player, XA::Play);
        // Stop once the player is decoding: a few position notifications in.
        const int started = recorder.waitFor([](const XA_Message& m) { return m.code() == XA::Position && m.uint32At(4) >= 2; }, from);
        if (started < 0) return 1;
        const std::size_t before = recorder.count();
        const auto sent = std::chrono::steady_clock::now();
        control_message_send(player, XA::Stop);
        if (recorder.waitForState(XA::Stopped, before) < 0) return 1;
        const auto arrived = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(arrived - sent).count());
        control_message_send(player, XA::InputClose);
        control_message_send(player, XA::OutputOpen, nullptr);
    }
    player_delete(player);
    std::filesystem::remove(wav);
    std::sort(milliseconds.begin(), milliseconds.end());
    const double median = milliseconds[milliseconds.size() / 2];
    std::printf("stop to STOPPED, playing to a WAV file: median %.3f ms over %d stops (max %.3f ms); goal below 50 ms: %s\n",
                median, runs, milliseconds.back(), median < 50.0 ? "met" : "missed");
    return 0;
}
