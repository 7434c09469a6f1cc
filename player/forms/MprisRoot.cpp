#include "player/forms/MprisRoot.h"

#include "player/forms/MediaControlTarget.h"

MprisRoot::MprisRoot(QObject* exported, MediaControlTarget& target) : QDBusAbstractAdaptor(exported), target_(target) {}

QString MprisRoot::identity() const { return QStringLiteral("Quarvel"); }

// The installed desktop entry is quarvel.desktop.
QString MprisRoot::desktopEntry() const { return QStringLiteral("quarvel"); }

QStringList MprisRoot::supportedUriSchemes() const { return {QStringLiteral("file"), QStringLiteral("http")}; }

QStringList MprisRoot::supportedMimeTypes() const { return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-mpegurl")}; }

void MprisRoot::Raise() { target_.raiseWindow(); }
