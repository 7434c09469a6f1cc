#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kHelpFolder = fs::path(QUARVEL_SOURCE_DIR) / "hlp";

std::string contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every href and src of a page that points into the shipped pages (no scheme, no fragment alone).
std::vector<std::string> localLinks(const std::string& page) {
    static const std::regex link(R"((?:href|src)\s*=\s*"([^"]*)\")", std::regex::icase);
    std::vector<std::string> links;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link); it != std::sregex_iterator(); ++it) {
        std::string target = (*it)[1];
        if (target.find(':') != std::string::npos || target.empty() || target.front() == '#') continue;
        links.push_back(target.substr(0, target.find_first_of("#?")));
    }
    return links;
}

TEST(HelpPages, EveryPageTheProgramOpensIsShipped) {
    for (const char* page : {"index.htm", "encoder.htm", "decoder.htm", "player.htm", "converter.htm", "help.css",
                             "web/vyx30/vyx_cryptkey.htm"})
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder / page)) << page;
    for (int n = 0; n < 8; ++n) {
        const std::string page = "web/sponsors/vyx_sponsor" + std::to_string(n) + ".htm";
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder / page)) << page;
    }
}

TEST(HelpPages, EveryLinkOfTheShippedPagesResolvesToAShippedFile) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kHelpFolder)) {
        if (entry.path().extension() != ".htm") continue;
        for (const std::string& target : localLinks(contentOf(entry.path()))) {
            const fs::path resolved = fs::weakly_canonical(entry.path().parent_path() / target);
            const std::string inside = fs::relative(resolved, fs::weakly_canonical(kHelpFolder)).string();
            EXPECT_TRUE(fs::is_regular_file(resolved)) << entry.path() << " links " << target;
            EXPECT_NE(inside.substr(0, 2), "..") << entry.path() << " links outside the help folder: " << target;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
}

TEST(HelpPages, TheStartPageLinksEveryModulePage) {
    const auto links = localLinks(contentOf(kHelpFolder / "index.htm"));
    for (const char* page : {"encoder.htm", "decoder.htm", "player.htm", "converter.htm"})
        EXPECT_NE(std::find(links.begin(), links.end(), page), links.end()) << page;
}

}  // namespace
