#pragma once

#include "base/FileHandle.h"

#include <ctime>
#include <string>
#include <string_view>

// The HTML page that a split writes beside its parts, one download link per part.
// Head before the first part, a row after each part, the foot after the last; 8-bit text with
// CR LF line ends. Names on the page are HTML-escaped.
class DownloadPage {
public:
    struct Options {
        int style = 0;              // 0: the gold style, anything else: the blue style
        std::string stylesheetPath; // the user's own style block, used when it is not empty
        std::string bottomPath;     // the user's own foot text, used when it is not empty
        bool date = false;          // "Last update" line (only together with a foot text)
        std::string uploader;
    };

    explicit DownloadPage(Options options);

    // Creates the page file, replacing one that exists; false with errorNumber() on failure.
    bool create(const std::string& path);
    int errorNumber() const { return file_.errorNumber(); }

    void writeHead(std::string_view sourceStem);
    void addRow(std::string_view partFileName);
    void writeFoot();

    // The texts themselves, for the writer above and for tests.
    std::string headText(std::string_view sourceStem) const;
    static std::string rowText(std::string_view partFileName);
    std::string footText(const std::tm& today) const;
    // "%A, %d. %B %Y" in English, with "uploader - " before it when there is an uploader.
    std::string dateLine(const std::tm& today) const;

    static std::string escapeHtml(std::string_view text);

private:
    void append(const std::string& text);

    Options options_;
    FileHandle file_;
};
