// The language table and its name rules: folder columns, file languages,
// column aliases, and the log lines of names that give no language.
#include "common/languages.h"

#include <algorithm>
#include <gtest/gtest.h>

using Expected = std::optional<QString>;

TEST(Languages, CodesAndAliases)
{
    const QStringList &codes = Languages::sortedCodes();
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    EXPECT_TRUE(Languages::isKnownCode("zh_Hans"));
    EXPECT_FALSE(Languages::isKnownCode("zh-Hans"));
    EXPECT_EQ(Languages::codeForName("german"), std::nullopt);

    const std::pair<const char *, const char *> normalized[] = {
        {"pt-BR", "pt_BR"}, {"Base", "en_US"}, {"base", "base"}, {"zh-TW", "zh_Hant"}, {"es-419", "es_MX"}, {"", ""}};
    for (const auto &[name, code] : normalized)
        EXPECT_EQ(Languages::normalizedCode(name), code) << name;
}

TEST(Languages, FolderNamesBecomeColumns)
{
    const std::pair<const char *, Expected> cases[] = {
        {"/x/Base.lproj", "en_US"}, {"/x/English.lproj", "en"}, {"/x/English (GB).lproj", "en_GB"},
        {"/x/es-419.lproj", "es_MX"}, {"/x/zh-HK.lproj", "zh_HK"}, {"/x/no.lproj", "nb"},
        {"/p/German.lproj", "de"}, {"/p/zh_CN.lproj", "zh_Hans"}, {"/p/pt-BR.lproj", "pt_BR"},
        {"/x/sr.lproj", std::nullopt}, {"/p/.git", std::nullopt}, {"", std::nullopt}};
    for (const auto &[folder, column] : cases)
        EXPECT_EQ(Languages::languageForFolder(folder), column) << folder;
}

TEST(Languages, FileAndColumnNamesGiveLanguagesAndLogTheRest)
{
    const std::pair<const char *, Expected> cases[] = {
        {"German.strings", "de"}, {"pt_BR.strings", "pt"}, {"pt-BR.strings", "pt-BR"},
        {"zh-Hans.strings", "zh-Hans"}, {"Norwegian.strings", "nb"}, {"dk.strings", "da"},
        {"fr-CA.strings", "fr-CA"}, {"de.strings", "de"}, {"de", "de"}, {"en_US", "en"}, {"en_GB", "en"},
        {"es_MX", "es"}, {"zh_Hans", std::nullopt}, {"search_by", std::nullopt}, {"", std::nullopt}};
    for (const auto &[name, language] : cases)
        EXPECT_EQ(Languages::languageForName(name), language) << name;

    testing::internal::CaptureStdout();
    EXPECT_EQ(Languages::languageForName("idx"), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Couldn't find for idx\n");
}
