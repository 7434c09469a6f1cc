#include "splitjoin/DownloadPage.h"
#include "transfer/PageLinks.h"
#include "transfer/WebAddress.h"

#include <gtest/gtest.h>

// The page as the splitter writes it gives back every part's name, escaped characters included.
TEST(PageLinks, ReadsThePartNamesTheSplitterWrote) {
    const std::vector<std::string> names{"rock_&_roll00.ppt", "rock_&_roll01.ppt", "it's<2>01.ppt"};
    DownloadPage page({});
    std::string text = page.headText("rock & roll");
    for (const std::string& name : names) text += DownloadPage::rowText(name);
    EXPECT_TRUE(PageLinks::looksLikePage(text));
    EXPECT_EQ(PageLinks::of(text), names);
}

TEST(WebAddress, ResolvesAPagesLinksAndHidesCredentials) {
    struct Case {
        const char* page;
        const char* link;
        const char* expected;
    };
    const Case cases[] = {
        {"http://h:8/sets/a.html", "a00.ppt", "http://h:8/sets/a00.ppt"},
        {"http://h/sets/a.html?x=1#top", "a00.ppt", "http://h/sets/a00.ppt"},
        {"http://h", "a00.ppt", "http://h/a00.ppt"},
        {"https://h/sets/a.html", "/other/a00.ppt", "https://h/other/a00.ppt"},
        {"https://h/sets/a.html", "ftp://f/a00.ppt", "ftp://f/a00.ppt"},
    };
    for (const Case& c : cases) EXPECT_EQ(WebAddress::resolve(c.page, PageLinks::encodeForAddress(c.link)), c.expected);
    EXPECT_EQ(PageLinks::encodeForAddress("my song\xC3\xA4.ppt"), "my%20song%C3%A4.ppt");
    EXPECT_EQ(WebAddress::fileName("http://h/d/my%20song00.ppt?x"), "my song00.ppt");
    EXPECT_EQ(WebAddress::forDisplay("ftp://user:secret@h/a00.ppt"), "ftp://h/a00.ppt");
    EXPECT_FALSE(WebAddress::isWebAddress("file:///etc/passwd"));
    EXPECT_TRUE(WebAddress::isWebAddress("HTTPS://h/a00.ppt"));
}
