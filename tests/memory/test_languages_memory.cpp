// The language rules as the memory uses them: folder columns, file languages,
// column aliases, and the log lines of names that give no language.
#include "memory/languages.h"

#include <gtest/gtest.h>

TEST(MemoryLanguages, TableAndNameLookups)
{
    EXPECT_EQ(Languages::names().size(), 43);
    EXPECT_TRUE(Languages::isKnownCode("zh_Hans"));
    EXPECT_FALSE(Languages::isKnownCode("zh-Hans"));
    EXPECT_FALSE(Languages::isKnownCode("EN"));
    EXPECT_EQ(Languages::codeForName("Spanish"), "es");
    EXPECT_EQ(Languages::codeForName("Chinese (Hong Kong)"), "zh_HK");
    EXPECT_EQ(Languages::codeForName("german"), std::nullopt);
    EXPECT_EQ(Languages::languageForFolder("/p/German.lproj"), "de");
    EXPECT_EQ(Languages::languageForFolder("/p/zh_CN.lproj"), "zh_Hans");
    EXPECT_EQ(Languages::languageForFolder("/p/pt-BR.lproj"), "pt_BR");
    EXPECT_EQ(Languages::languageForFolder("/p/.git"), std::nullopt);
    EXPECT_EQ(Languages::languageForFolder(""), std::nullopt);
}

TEST(MemoryLanguages, FileNamesAndColumnsLogWhatTheyCannotPlace)
{
    EXPECT_EQ(Languages::languageForName("fr-CA.strings"), "fr-CA");
    EXPECT_EQ(Languages::languageForName("de.strings"), "de");
    EXPECT_EQ(Languages::languageForName("de"), "de");
    EXPECT_EQ(Languages::languageForName("en_GB"), "en");
    EXPECT_EQ(Languages::languageForName("pt_PT"), "pt");

    testing::internal::CaptureStdout();
    EXPECT_EQ(Languages::languageForName("Localizable.strings"), std::nullopt);
    EXPECT_EQ(Languages::languageForName("idx"), std::nullopt);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "Couldn't find for localizable\nCouldn't find for strings\nCouldn't find for idx\n");
}
