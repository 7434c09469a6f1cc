#pragma once

#include <QUrl>

class SettingsStore;

// The maker's web pages that the Decoder shows: the sponsor pages of its web pane and the
// crypt-key information page. They lie under the address of setting "Settings"/"WebBase", by
// default the folder hlp/web/ of the program folder; an address with a scheme ("http://...") is
// used as it stands, any other text is a local folder.
class MakerWebPages {
public:
    static constexpr int SponsorPageCount = 8;

    MakerWebPages(const SettingsStore& settings, const QString& programFolder);

    QString base() const { return base_; }
    // Page 0 to 7.
    QUrl sponsorPage(int number) const;
    QUrl cryptKeyPage() const;

private:
    QUrl page(const QString& path) const;

    QString base_;
};
