#include "cli/PlayCommand.h"

#include "cli/CommandLine.h"
#include "cli/ConsoleReporter.h"
#include "cli/PlaybackSession.h"
#include "platform/xaudio/XA_Codes.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

const char* PlayCommand::usage() {
    return "usage: quarvel-cli play SOURCE [--device N]\n"
           "\n"
           "Plays SOURCE (an MP3 file or an http:// stream) on a sound device, printing the\n"
           "player's state texts; Ctrl+C stops.\n"
           "  --device N  the device's number in 'quarvel-cli devices' (default 0: the default output)\n";
}

namespace {

// Ctrl+C is taken by a thread of its own with sigwait, which sends the player a Stop; the signal
// is blocked in every other thread (the player's included, which inherit the mask).
class InterruptStops {
public:
    explicit InterruptStops(const sigset_t& signals) : signals_(signals) {}
    ~InterruptStops() {
        if (!thread_.joinable()) return;
        pthread_kill(thread_.native_handle(), SIGUSR1); // ends the sigwait
        thread_.join();
    }
    void start(XA_PlayerHandle player) {
        thread_ = std::thread([this, player] {
            int signal = 0;
            while (sigwait(&signals_, &signal) == 0 && signal == SIGINT) control_message_send(player, XA::Stop);
        });
    }

private:
    sigset_t signals_;
    std::thread thread_;
};

} // namespace

int PlayCommand::run(const std::vector<std::string>& arguments) {
    CommandLine line({}, {"--device"});
    if (const auto exitCode = line.start(arguments, usage(), 1)) return *exitCode;
    ConsoleReporter reporter;
    int device = 0;
    if (const auto text = line.value("--device")) {
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), device);
        if (error != std::errc() || end != text->data() + text->size() || device < 0) {
            reporter.error("--device takes a device number from 'quarvel-cli devices'");
            return 2;
        }
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    PlaybackSession session(reporter);
    if (!session.valid()) {
        reporter.error("the player could not be created");
        return 1;
    }
    // Declared after the session: it ends (and sends nothing more) before the player goes.
    InterruptStops interrupts(signals);
    interrupts.start(session.player());
    control_message_send(session.player(), XA::OutputOpen, "/dev/wave/" + std::to_string(device));
    return session.settle() && session.playToEnd(line.positional().front()) ? 0 : 1;
}
