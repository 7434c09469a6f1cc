#include "player/forms/MprisPlayer.h"

#include "player/forms/MediaControlTarget.h"

#include <QStringList>

#include <algorithm>

namespace {

using Status = MediaControlTarget::Status;

const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

} // namespace

MprisPlayer::MprisPlayer(QObject* exported, MediaControlTarget& target)
    : QDBusAbstractAdaptor(exported), target_(target) {}

QString MprisPlayer::playbackStatus() const {
    switch (target_.playbackStatus()) {
    case Status::Playing: return QStringLiteral("Playing");
    case Status::Paused: return QStringLiteral("Paused");
    case Status::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath MprisPlayer::trackId() const {
    if (!target_.hasTrack()) return QDBusObjectPath(kNoTrack);
    return QDBusObjectPath(QStringLiteral("/io/github/quarvel/Quarvel/track/%1").arg(target_.track().number));
}

QVariantMap MprisPlayer::metadata() const {
    if (!target_.hasTrack()) return {};
    const MediaControlTarget::Track track = target_.track();
    QVariantMap facts{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())}};
    if (track.lengthMicroseconds > 0) facts.insert(QStringLiteral("mpris:length"), qlonglong(track.lengthMicroseconds));
    if (!track.title.isEmpty()) facts.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty()) facts.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    if (!track.album.isEmpty()) facts.insert(QStringLiteral("xesam:album"), track.album);
    if (!track.url.isEmpty()) facts.insert(QStringLiteral("xesam:url"), track.url);
    return facts;
}

double MprisPlayer::volume() const { return target_.volume(); }

void MprisPlayer::setVolume(double volume) { target_.setVolume(std::clamp(volume, 0.0, 1.0)); }

qlonglong MprisPlayer::position() const { return target_.positionMicroseconds(); }

bool MprisPlayer::canGoNext() const { return target_.canGoNext(); }

bool MprisPlayer::canSeek() const { return target_.hasTrack() && target_.canSeek(); }

void MprisPlayer::Play() {
    if (target_.playbackStatus() != Status::Playing) target_.mediaPlay();
}

void MprisPlayer::Pause() {
    if (target_.playbackStatus() == Status::Playing) target_.mediaPause();
}

void MprisPlayer::PlayPause() {
    if (target_.playbackStatus() == Status::Playing)
        target_.mediaPause();
    else
        target_.mediaPlay();
}

void MprisPlayer::Stop() { target_.mediaStop(); }

void MprisPlayer::Next() {
    if (target_.canGoNext()) target_.mediaNext();
}

void MprisPlayer::Seek(qlonglong offset) {
    if (!canSeek()) return;
    const std::int64_t length = target_.track().lengthMicroseconds;
    const std::int64_t wanted = std::max<std::int64_t>(0, target_.positionMicroseconds() + offset);
    // Past the end is the next entry, as a media key expects.
    if (length > 0 && wanted > length) {
        Next();
        return;
    }
    target_.mediaSeekTo(wanted);
    emit Seeked(wanted);
}

void MprisPlayer::SetPosition(const QDBusObjectPath& track, qlonglong position) {
    // A position for an entry that no longer plays, or outside the entry, is ignored.
    if (!canSeek() || track != trackId() || position < 0) return;
    const std::int64_t length = target_.track().lengthMicroseconds;
    if (length > 0 && position > length) return;
    target_.mediaSeekTo(position);
    emit Seeked(position);
}
