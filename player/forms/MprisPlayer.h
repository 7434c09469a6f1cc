#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

class MediaControlTarget;

// The transport on the session bus: play, pause, stop, next, seeking, the master level as the
// volume, and the playing entry's facts as metadata. Every call goes through the target.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canControl)
    Q_PROPERTY(bool CanPause READ canControl)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    MprisPlayer(QObject* exported, MediaControlTarget& target);

    QString playbackStatus() const;
    double rate() const { return 1.0; }
    // The Player has no speed control: any rate asked for stays 1.
    void setRate(double) {}
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const { return false; }
    bool canSeek() const;
    bool canControl() const { return true; }

    // The id of the playing entry, "/org/mpris/MediaPlayer2/TrackList/NoTrack" without one.
    QDBusObjectPath trackId() const;

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    // The playlist is a queue: what played is gone, so there is no previous entry.
    void Previous() {}
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& track, qlonglong position);
    // Locations come from the Player's own lists only.
    void OpenUri(const QString&) {}

signals:
    void Seeked(qlonglong position);

private:
    MediaControlTarget& target_;
};
