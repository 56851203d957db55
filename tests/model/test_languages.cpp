// The language table and its name rules.
#include "memory/languages.h"

#include <gtest/gtest.h>

TEST(Languages, NormalizedCodeMapsAliasesAndKeepsUnknowns)
{
    EXPECT_EQ(Languages::normalizedCode("pt-BR"), "pt_BR");
    EXPECT_EQ(Languages::normalizedCode("Base"), "en_US");
    EXPECT_EQ(Languages::normalizedCode("base"), "base");
    EXPECT_EQ(Languages::normalizedCode("zh-TW"), "zh_Hant");
    EXPECT_EQ(Languages::normalizedCode("es-419"), "es_MX");
    EXPECT_EQ(Languages::normalizedCode(""), "");
}

TEST(Languages, SortedCodesAreTheFortyThreeInCodePointOrder)
{
    const QStringList &codes = Languages::sortedCodes();
    ASSERT_EQ(codes.size(), 43);
    EXPECT_EQ(codes.first(), "ar");
    EXPECT_EQ(codes.last(), "zh_Hant");
    EXPECT_LT(codes.indexOf("zh_HK"), codes.indexOf("zh_Hans"));
    EXPECT_LT(codes.indexOf("en"), codes.indexOf("en_AU"));
}

TEST(Languages, FolderNamesBecomeColumns)
{
    EXPECT_EQ(Languages::languageForFolder("/x/Base.lproj"), "en_US");
    EXPECT_EQ(Languages::languageForFolder("/x/English.lproj"), "en");
    EXPECT_EQ(Languages::languageForFolder("/x/English (GB).lproj"), "en_GB");
    EXPECT_EQ(Languages::languageForFolder("/x/es-419.lproj"), "es_MX");
    EXPECT_EQ(Languages::languageForFolder("/x/zh-HK.lproj"), "zh_HK");
    EXPECT_EQ(Languages::languageForFolder("/x/no.lproj"), "nb");
    EXPECT_EQ(Languages::languageForFolder("/x/sr.lproj"), std::nullopt);
}

TEST(Languages, FileAndColumnNamesGiveLanguages)
{
    EXPECT_EQ(Languages::languageForName("German.strings"), "de");
    EXPECT_EQ(Languages::languageForName("pt_BR.strings"), "pt");
    EXPECT_EQ(Languages::languageForName("pt-BR.strings"), "pt-BR");
    EXPECT_EQ(Languages::languageForName("zh-Hans.strings"), "zh-Hans");
    EXPECT_EQ(Languages::languageForName("Norwegian.strings"), "nb");
    EXPECT_EQ(Languages::languageForName("dk.strings"), "da");
    EXPECT_EQ(Languages::languageForName("en_US"), "en");
    EXPECT_EQ(Languages::languageForName("es_MX"), "es");
    EXPECT_EQ(Languages::languageForName("zh_Hans"), std::nullopt);
    EXPECT_EQ(Languages::languageForName("search_by"), std::nullopt);
    EXPECT_EQ(Languages::languageForName("Localizable.strings"), std::nullopt);
    EXPECT_EQ(Languages::languageForName(""), std::nullopt);
}
