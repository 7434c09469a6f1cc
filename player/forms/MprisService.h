#pragma once

#include <QObject>
#include <QVariantMap>

#include <memory>

class MediaControlTarget;
class MprisPlayer;
class MprisRoot;

// Puts the Player on the session bus as org.mpris.MediaPlayer2.quarvel for as long as it lives,
// and tells the desktop what changed. Without a session bus, or with the name taken by another
// Player window, create() returns null and the Player goes on without media controls.
class MprisService {
public:
    static std::unique_ptr<MprisService> create(MediaControlTarget& target);
    ~MprisService();
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // Something the controls show may have changed: PropertiesChanged for what did.
    void refresh();

private:
    explicit MprisService(MediaControlTarget& target);
    bool registerOnBus();
    static QVariantMap readProperties(const QObject& adaptor);
    void announceChanges(const QObject& adaptor, const QString& interface, QVariantMap& shown);

    std::unique_ptr<QObject> exported_;
    MprisRoot* root_;
    MprisPlayer* player_;
    QVariantMap rootShown_;
    QVariantMap playerShown_;
    bool registered_ = false;
};
