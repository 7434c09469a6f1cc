#include "base/CVersion.h"

#include <gtest/gtest.h>

TEST(CVersionTest, ProgramBlockAnswersBothStringTables) {
    const CVersion english(nullptr, "040904b0");
    EXPECT_EQ(english.GetVersionString(CVersion::FileVersion), "3.1.0.2");
    EXPECT_EQ(english.GetVersionString(CVersion::ProductVersion), "3.1.0.2");
    EXPECT_EQ(english.GetVersionString(CVersion::ProductName), "Quarvel 3.1");
    EXPECT_FALSE(english.GetVersionString(CVersion::LegalCopyright).empty());
    const CVersion german(nullptr, "040704b0");
    EXPECT_EQ(german.GetVersionString(CVersion::FileVersion), "3.1.0.2");
    EXPECT_NE(german.GetVersionString(CVersion::FileDescription), english.GetVersionString(CVersion::FileDescription));
}

TEST(CVersionTest, EmptyValuesUnknownIndexesMissingTablesAndMissingBlocksAnswerEmpty) {
    const CVersion program(nullptr, "040904b0");
    EXPECT_EQ(program.GetVersionString(CVersion::Comments), "");
    EXPECT_EQ(program.GetVersionString(CVersion::LegalTrademarks), "");
    EXPECT_EQ(program.GetVersionString(12), "");
    EXPECT_EQ(program.GetVersionString(-1), "");
    EXPECT_EQ(CVersion::keyName(12), "");
    EXPECT_EQ(CVersion::keyName(11), "SpecialBuild");

    EXPECT_EQ(CVersion(nullptr, "041104b0").GetVersionString(CVersion::ProductName), "");
    const VersionBlock none;
    EXPECT_EQ(CVersion(&none, "040904b0").GetVersionString(CVersion::ProductName), "");
    const VersionBlock own(std::map<std::string, std::string>{{"\\StringFileInfo\\040904b0\\ProductName", "Other"}});
    EXPECT_EQ(CVersion(&own, "040904b0").GetVersionString(CVersion::ProductName), "Other");
}
