#include "splitjoin/DownloadPage.h"

#include "base/TextFormat.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr std::array<const char*, 8> kGoldStyle = {
    "<STYLE TYPE='text/css'>\r\na { color:#FFC600; font-family:Verdana; font-size:10pt; "
    "font-weight:bold; text-decoration:none; }\r\n",
    "a:hover { color:#FFC600; font-family:Verdana; font-size:10pt; font-weight:bold; "
    "text-decoration: underline; }\r\n",
    "h3 { color: #FFFFFF; font-family: Verdana; font-size: 10pt; font-weight: normal; "
    "text-decoration:none;}\r\n",
    "table { border-color:#FFC600; border-width:1px; border-style:solid; }\r\n",
    "td { background:#800000; text-align:center; border-color:#FFC600; border-width:1px; "
    "border-style:solid; color:#FFC600; font-family:Verdana; font-size:10pt; font-weight:bold; "
    "text-decoration:none; }\r\n",
    "body {background:#800000;\r\ntopmargin:3px;\r\nscrollbar-track-color: #420000;\r\n"
    "scrollbar-arrow-color: #FFC600;\r\n",
    "scrollbar-arrow-color: #FFC600;\r\nscrollbar-shadow-color: #FFC600;\r\n"
    "scrollbar-dark-shadow-color: #800000;\r\n",
    "scrollbar-highlight-color: #FFC600;\r\nscrollbar-3d-light-color: #800000;\r\n"
    "scrollbar-face-color: #800000;\r\n}\r\n",
};

constexpr std::array<const char*, 8> kBlueStyle = {
    "<STYLE TYPE='text/css'>\r\na { color:#FF9900; font-family:Verdana; font-size:10pt; "
    "font-weight:bold; text-decoration:none; }\r\n",
    "a:hover { color:#FF9900; font-family:Verdana; font-size:10pt; font-weight:bold; "
    "text-decoration: underline; }\r\n",
    kGoldStyle[2],
    "table { border-color:#FF9900; border-width:1px; border-style:solid; }\r\n",
    "td { background:#000066; text-align:center; border-color:#FF9900; border-width:1px; "
    "border-style:solid; color:#FFFFFF; font-family:Verdana; font-size:10pt; font-weight:bold; "
    "text-decoration:none; }\r\n",
    "body {background:#000033;\r\ntopmargin:3px;\r\nscrollbar-base-color: #000066;\r\n",
    "scrollbar-arrow-color: #FF9900;\r\nscrollbar-shadow-color: #000066;\r\n"
    "scrollbar-dark-shadow-color: #000033;\r\n",
    "scrollbar-highlight-color: #FF9900;\r\nscrollbar-3d-light-color: #FF9900;\r\n}\r\n",
};

constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",
                                                 "May",     "June",     "July",      "August",
                                                 "September", "October", "November", "December"};

// A companion file's bytes up to its first NUL; empty when it is missing or unreadable.
std::string companionText(const std::string& path) {
    FileHandle file;
    if (path.empty() || !file.open(path, FileHandle::Mode::Read)) return {};
    std::string text;
    try {
        std::vector<char> buffer(64 * 1024);
        while (std::size_t got = file.read(buffer.data(), buffer.size())) {
            text.append(buffer.data(), got);
            if (got < buffer.size()) break;
        }
    } catch (const std::exception&) {
        return {};
    }
    return text.substr(0, std::strlen(text.c_str()));
}

} // namespace

DownloadPage::DownloadPage(Options options) : options_(std::move(options)) {}

bool DownloadPage::create(const std::string& path) {
    return file_.open(path, FileHandle::Mode::CreateTruncate);
}

void DownloadPage::writeHead(std::string_view sourceStem) { append(headText(sourceStem)); }

void DownloadPage::addRow(std::string_view partFileName) { append(rowText(partFileName)); }

void DownloadPage::writeFoot() {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    append(footText(today));
    file_.close();
}

std::string DownloadPage::headText(std::string_view sourceStem) const {
    std::string text = TextFormat::format("<html>\r\n<head>\r\n<title>%s</title>\r\n", "main");
    const std::string userStyle = companionText(options_.stylesheetPath);
    if (!userStyle.empty()) {
        text += userStyle;
    } else {
        for (const char* piece : options_.style == 0 ? kGoldStyle : kBlueStyle) text += piece;
        text += "</STYLE>\r\n";
    }
    text += "</head>\r\n";
    text += "<body>\r\n<div align='center'>\r\n"
            "<table width='85%' cellpadding='2' cellspacing='0'>\r\n";
    text += "<tr>\r\n<td style='font-size:13pt;'>\r\nQuarvel - Download\r\n</td>\r\n</tr>\r\n";
    text += TextFormat::format("<tr>\r\n<td style='font-size:11pt;'><b>Title: %s</b>\r\n</td>\r\n"
                               "</tr>\r\n</table>\r\n",
                               escapeHtml(sourceStem).c_str());
    text += "<br>\r\n<table cellpadding='2' cellspacing='0'>";
    return text;
}

std::string DownloadPage::rowText(std::string_view partFileName) {
    const std::string_view label = partFileName.substr(0, partFileName.rfind('.'));
    return TextFormat::format(
               "<tr><td width='0%%'><p align='center'><font size='3'><b><a href='%s'>\r\n",
               escapeHtml(partFileName).c_str()) +
           TextFormat::format("%s</a></b></font></p></td>\r\n</tr>", escapeHtml(label).c_str());
}

std::string DownloadPage::footText(const std::tm& today) const {
    std::string text = "</table>\r\n<br>\r\n";
    const std::string bottom = companionText(options_.bottomPath);
    if (!bottom.empty()) {
        text += bottom;
        if (options_.date)
            text += TextFormat::format("<center><h3>Last update: %s</h3></center>",
                                       escapeHtml(dateLine(today)).c_str());
    }
    text += "</body>\r\n</html>\r\n";
    return text;
}

std::string DownloadPage::dateLine(const std::tm& today) const {
    const std::string date = TextFormat::format(
        "%s, %02d. %s %04d", kWeekdays[static_cast<std::size_t>(today.tm_wday % 7)], today.tm_mday,
        kMonths[static_cast<std::size_t>(today.tm_mon % 12)], today.tm_year + 1900);
    if (options_.uploader.empty()) return date;
    return TextFormat::format("%s - %s", options_.uploader.c_str(), date.c_str());
}

std::string DownloadPage::escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

void DownloadPage::append(const std::string& text) { file_.write(text.data(), text.size()); }
