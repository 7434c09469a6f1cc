#include "player/XaudioPlayer.h"

#include "base/MessageBoxSink.h"
#include "base/TextFormat.h"
#include "player/XaudioException.h"
#include "player/XaudioNotifier.h"

#include <new>
#include <unistd.h>

bool XaudioPlayer::versionMatches(unsigned long version) {
    return ((version >> 16) & 0xff) == 3 && ((version >> 8) & 0xff) == 8;
}

XaudioPlayer::XaudioPlayer(MessageBoxSink* messages) {
    if (!versionMatches(xaudio_get_version(2))) {
        if (messages) messages->showStopBox("Xaudio DLL API version mismatch");
        throw XaudioException(XaudioException::VersionMismatch);
    }
    className_ = TextFormat::format("XaWrW%08x", static_cast<unsigned>(::gettid()));
    notifier_.reset(new (std::nothrow) XaudioNotifier(this));
    if (!notifier_) throw XaudioException(XaudioException::AllocationFailed);
    create(notifier_.get());
}

XaudioPlayer::~XaudioPlayer() {
    deletePlayer();
}
