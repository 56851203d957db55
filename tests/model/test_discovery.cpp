// Project discovery: the language-path test and the roots found by find.
#include "model/projectdiscovery.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Discovery, LanguagePathTest)
{
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/en.lproj/Localizable.strings")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/de/a.txt")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/en_US/a.txt")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/en-US/a.txt")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/zh-Hans/a.strings")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/pt_BR/a.strings")));
    // Pods wins over lproj, also inside another word; case matters.
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/Pods/X/en.lproj/a.strings")));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/MyPodsApp/en.lproj/a.strings")));
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/pods/en.lproj/a.strings")));
    // The identifier must be a whole component between two slashes.
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/Resources/a.strings")));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/den/a.txt")));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/App/de")));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("de/a.txt")));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(QStringLiteral("/p/C/a.txt")));
}

TEST(Discovery, FindsOneRootPerProjectSortedAndSkipsPods)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("App/en.lproj/Localizable.strings"), "\n");
    writeFile(d, QStringLiteral("App/de.lproj/Localizable.strings"), "\n");
    writeFile(d, QStringLiteral("App/de.lproj/notes.txt"), "x");
    writeFile(d, QStringLiteral("Widget/en.lproj/InfoPlist.strings"), "\n");
    writeFile(d, QStringLiteral("Site/en-US/page.txt"), "x");
    writeFile(d, QStringLiteral("Pods/Lib/en.lproj/Lib.strings"), "\n");
    writeFile(d, QStringLiteral("Docs/readme.txt"), "x");
    EXPECT_EQ(ProjectDiscovery::discover(d),
              (QStringList{d + QStringLiteral("/App"), d + QStringLiteral("/Site"), d + QStringLiteral("/Widget")}));
}

TEST(Discovery, NothingBelowPodsOrAMissingFolderFindsNothing)
{
    QTemporaryDir dir;
    writeFile(dir.path(), QStringLiteral("Pods/Lib/en.lproj/Lib.strings"), "\n");
    EXPECT_TRUE(ProjectDiscovery::discover(dir.path()).isEmpty());
    EXPECT_TRUE(ProjectDiscovery::discover(dir.path() + QStringLiteral("/gone")).isEmpty());
}
