#include "app/CommandLineOptions.h"

#include <gtest/gtest.h>

TEST(CommandLineOptionsTest, HelpAndVersionAreAnsweredFileNamesAndWindowOptionsOpenNothing) {
    using Action = CommandLineOptions::Action;
    struct Case {
        std::vector<const char*> arguments;
        Action action;
    };
    const Case cases[] = {
        {{"quarvel"}, Action::Run},
        {{"quarvel", "song.mp3"}, Action::Run},
        {{"quarvel", "-platform", "offscreen"}, Action::Run},
        {{"quarvel", "--help"}, Action::ShowHelp},
        {{"quarvel", "song.mp3", "-h"}, Action::ShowHelp},
        {{"quarvel", "--version"}, Action::ShowVersion},
        {{"quarvel", "--", "--help"}, Action::Run},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineOptions::parse(static_cast<int>(c.arguments.size()), c.arguments.data()), c.action)
            << c.arguments.back();
    EXPECT_EQ(CommandLineOptions::versionText(), "quarvel 3.1.0.2\n");
    EXPECT_NE(CommandLineOptions::helpText("quarvel").find("Usage: quarvel"), std::string::npos);
}
