#include "player/forms/SequencerTimer.h"

#include "resources/ResourceIds.h"

SequencerTimer::SequencerTimer(PlaylistQueue& queue, PlaybackSequencer::Hands hands)
    : sequencer_(queue, [this](int milliseconds) { timer_.start(milliseconds); }, std::move(hands)) {
    timer_.setSingleShot(true);
    timer_.setObjectName(QStringLiteral("timer_%1").arg(TIMER_PLAYER_SEQUENCER));
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { sequencer_.timerFired(); });
}
