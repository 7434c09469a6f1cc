#include "player/forms/MprisService.h"

#include "player/forms/MprisPlayer.h"
#include "player/forms/MprisRoot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaProperty>

namespace {

const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.quarvel");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// The position moves all the time; the desktop reads it when it needs it (and hears Seeked).
const QString kPosition = QStringLiteral("Position");

} // namespace

std::unique_ptr<MprisService> MprisService::create(MediaControlTarget& target) {
    if (!QDBusConnection::sessionBus().isConnected()) return nullptr;
    std::unique_ptr<MprisService> service(new MprisService(target));
    if (!service->registerOnBus()) return nullptr;
    return service;
}

MprisService::MprisService(MediaControlTarget& target)
    : exported_(std::make_unique<QObject>()),
      root_(new MprisRoot(exported_.get(), target)),
      player_(new MprisPlayer(exported_.get(), target)) {}

MprisService::~MprisService() {
    if (!registered_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(kServiceName);
    bus.unregisterObject(kObjectPath);
}

bool MprisService::registerOnBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(kObjectPath, exported_.get(), QDBusConnection::ExportAdaptors)) return false;
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        return false;
    }
    registered_ = true;
    rootShown_ = readProperties(*root_);
    playerShown_ = readProperties(*player_);
    return true;
}

QVariantMap MprisService::readProperties(const QObject& adaptor) {
    QVariantMap values;
    const QMetaObject* meta = adaptor.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QString::fromLatin1(property.name());
        if (name != kPosition) values.insert(name, property.read(&adaptor));
    }
    return values;
}

void MprisService::refresh() {
    announceChanges(*root_, kRootInterface, rootShown_);
    announceChanges(*player_, kPlayerInterface, playerShown_);
}

void MprisService::announceChanges(const QObject& adaptor, const QString& interface, QVariantMap& shown) {
    const QVariantMap now = readProperties(adaptor);
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (shown.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    shown = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
