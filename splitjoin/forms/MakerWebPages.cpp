#include "splitjoin/forms/MakerWebPages.h"

#include "base/SettingsStore.h"
#include "framework/QtText.h"

MakerWebPages::MakerWebPages(const SettingsStore& settings, const QString& programFolder)
    : base_(fromStd(settings.getText("Settings", "WebBase", toStd(programFolder + QStringLiteral("hlp/web/"))))) {}

QUrl MakerWebPages::sponsorPage(int number) const {
    return page(QStringLiteral("/sponsors/vyx_sponsor%1.htm").arg(number));
}

QUrl MakerWebPages::cryptKeyPage() const { return page(QStringLiteral("/vyx30/vyx_cryptkey.htm")); }

QUrl MakerWebPages::page(const QString& path) const {
    QString address = base_;
    while (address.endsWith(QLatin1Char('/')) && address.size() > 1) address.chop(1);
    address += path;
    if (address.contains(QStringLiteral("://"))) return QUrl(address);
    return QUrl::fromLocalFile(address);
}
