#pragma once

#include <QString>

// What the main frame needs of the Help browser's form.
class HelpBrowserForm {
public:
    virtual ~HelpBrowserForm() = default;
    // Opens the address (a file path or a web address) with no navigation flags.
    virtual void Navigate(const QString& address) = 0;
    virtual void RebuildFavorites() = 0;
};
