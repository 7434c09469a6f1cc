#include "splitjoin/DownloadPage.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string kGoldHead =
    "<html>\r\n<head>\r\n<title>main</title>\r\n"
    "<STYLE TYPE='text/css'>\r\na { color:#FFC600; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration:none; }\r\n"
    "a:hover { color:#FFC600; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration: underline; }\r\n"
    "h3 { color: #FFFFFF; font-family: Verdana; font-size: 10pt; font-weight: normal; text-decoration:none;}\r\n"
    "table { border-color:#FFC600; border-width:1px; border-style:solid; }\r\n"
    "td { background:#800000; text-align:center; border-color:#FFC600; border-width:1px; border-style:solid; color:#FFC600; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration:none; }\r\n"
    "body {background:#800000;\r\ntopmargin:3px;\r\nscrollbar-track-color: #420000;\r\nscrollbar-arrow-color: #FFC600;\r\n"
    "scrollbar-arrow-color: #FFC600;\r\nscrollbar-shadow-color: #FFC600;\r\nscrollbar-dark-shadow-color: #800000;\r\n"
    "scrollbar-highlight-color: #FFC600;\r\nscrollbar-3d-light-color: #800000;\r\nscrollbar-face-color: #800000;\r\n}\r\n"
    "</STYLE>\r\n</head>\r\n"
    "<body>\r\n<div align='center'>\r\n<table width='85%' cellpadding='2' cellspacing='0'>\r\n"
    "<tr>\r\n<td style='font-size:13pt;'>\r\nQuarvel - Download\r\n</td>\r\n</tr>\r\n"
    "<tr>\r\n<td style='font-size:11pt;'><b>Title: My Song</b>\r\n</td>\r\n</tr>\r\n</table>\r\n"
    "<br>\r\n<table cellpadding='2' cellspacing='0'>";

const std::string kBlueStyle =
    "<STYLE TYPE='text/css'>\r\na { color:#FF9900; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration:none; }\r\n"
    "a:hover { color:#FF9900; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration: underline; }\r\n"
    "h3 { color: #FFFFFF; font-family: Verdana; font-size: 10pt; font-weight: normal; text-decoration:none;}\r\n"
    "table { border-color:#FF9900; border-width:1px; border-style:solid; }\r\n"
    "td { background:#000066; text-align:center; border-color:#FF9900; border-width:1px; border-style:solid; color:#FFFFFF; font-family:Verdana; font-size:10pt; font-weight:bold; text-decoration:none; }\r\n"
    "body {background:#000033;\r\ntopmargin:3px;\r\nscrollbar-base-color: #000066;\r\n"
    "scrollbar-arrow-color: #FF9900;\r\nscrollbar-shadow-color: #000066;\r\nscrollbar-dark-shadow-color: #000033;\r\n"
    "scrollbar-highlight-color: #FF9900;\r\nscrollbar-3d-light-color: #FF9900;\r\n}\r\n</STYLE>\r\n";

std::string row(const std::string& name, const std::string& label) {
    return "<tr><td width='0%'><p align='center'><font size='3'><b><a href='" + name + "'>\r\n" + label +
           "</a></b></font></p></td>\r\n</tr>";
}

std::tm aDay() {
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 11;
    day.tm_mday = 9;
    day.tm_wday = 3;
    return day;
}

} // namespace

TEST(DownloadPage, GoldPageBytesWithThreeRows) {
    TempFolder folder;
    DownloadPage page({});
    ASSERT_TRUE(page.create(folder.file("my_song.html")));
    page.writeHead("My Song");
    for (const char* name : {"my_song00.ppt", "my_song01.ppt", "my_song02.ppt"}) page.addRow(name);
    page.writeFoot();
    EXPECT_EQ(FileBytes::readText(folder.file("my_song.html")),
              kGoldHead + row("my_song00.ppt", "my_song00") + row("my_song01.ppt", "my_song01") +
                  row("my_song02.ppt", "my_song02") + "</table>\r\n<br>\r\n</body>\r\n</html>\r\n");
}

TEST(DownloadPage, StyleNumberAndUserStylesheet) {
    TempFolder folder;
    DownloadPage::Options options;
    options.style = 5;
    options.stylesheetPath = folder.file("stylesheet.css");
    EXPECT_NE(DownloadPage(options).headText("x").find(kBlueStyle), std::string::npos);

    FileBytes::writeText(options.stylesheetPath, ""); // empty counts as missing
    EXPECT_NE(DownloadPage(options).headText("x").find(kBlueStyle), std::string::npos);

    FileBytes::writeText(options.stylesheetPath, std::string("<style>b{}</style>\n\0ignored", 27));
    const std::string head = DownloadPage(options).headText("x");
    EXPECT_NE(head.find("<title>main</title>\r\n<style>b{}</style>\n</head>\r\n"), std::string::npos);
    EXPECT_EQ(head.find("</STYLE>"), std::string::npos);
}

TEST(DownloadPage, FootWithBottomTextAndDate) {
    TempFolder folder;
    DownloadPage::Options options;
    options.bottomPath = folder.file("bottom.txt");
    options.date = true;
    options.uploader = "Kai";
    EXPECT_EQ(DownloadPage(options).footText(aDay()), "</table>\r\n<br>\r\n</body>\r\n</html>\r\n")
        << "no bottom.txt: no date line either";

    FileBytes::writeText(options.bottomPath, "<p>bye</p>");
    EXPECT_EQ(DownloadPage(options).footText(aDay()),
              "</table>\r\n<br>\r\n<p>bye</p><center><h3>Last update: Kai - Wednesday, 09. December 2026"
              "</h3></center></body>\r\n</html>\r\n");
    options.uploader.clear();
    EXPECT_EQ(DownloadPage(options).dateLine(aDay()), "Wednesday, 09. December 2026");
}

TEST(DownloadPage, NamesAreEscaped) {
    EXPECT_EQ(DownloadPage::rowText("a&b<c>'d\"00.ppt"),
              row("a&amp;b&lt;c&gt;&#39;d&quot;00.ppt", "a&amp;b&lt;c&gt;&#39;d&quot;00"));
    EXPECT_NE(DownloadPage({}).headText("<script>").find("Title: &lt;script&gt;"), std::string::npos);
}
