// Project discovery: the language-path test and the roots found by find.
#include "model/projectdiscovery.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Discovery, LanguagePathTest)
{
    // Pods wins over lproj, also inside another word; case matters. The
    // identifier must be a whole component between two slashes.
    const std::pair<const char *, bool> cases[] = {
        {"/p/App/en.lproj/Localizable.strings", true}, {"/p/App/de/a.txt", true}, {"/p/App/en_US/a.txt", true},
        {"/p/App/en-US/a.txt", true}, {"/p/App/zh-Hans/a.strings", true}, {"/p/App/pt_BR/a.strings", true},
        {"/p/Pods/X/en.lproj/a.strings", false}, {"/p/MyPodsApp/en.lproj/a.strings", false},
        {"/p/pods/en.lproj/a.strings", true}, {"/p/App/Resources/a.strings", false}, {"/p/App/den/a.txt", false},
        {"/p/App/de", false}, {"de/a.txt", false}, {"/p/C/a.txt", false}};
    for (const auto &[path, isLanguage] : cases)
        EXPECT_EQ(ProjectDiscovery::isLanguagePath(QString::fromUtf8(path)), isLanguage) << path;
}

TEST(Discovery, FindsOneRootPerProjectSortedAndSkipsPods)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "App/en.lproj/Localizable.strings", "\n");
    writeFile(d, "App/de.lproj/Localizable.strings", "\n");
    writeFile(d, "App/de.lproj/notes.txt", "x");
    writeFile(d, "Widget/en.lproj/InfoPlist.strings", "\n");
    writeFile(d, "Site/en-US/page.txt", "x");
    writeFile(d, "Pods/Lib/en.lproj/Lib.strings", "\n");
    writeFile(d, "Docs/readme.txt", "x");
    EXPECT_EQ(ProjectDiscovery::discover(d), (QStringList{d + "/App", d + "/Site", d + "/Widget"}));
}

TEST(Discovery, NothingBelowPodsOrAMissingFolderFindsNothing)
{
    QTemporaryDir dir;
    writeFile(dir.path(), "Pods/Lib/en.lproj/Lib.strings", "\n");
    EXPECT_TRUE(ProjectDiscovery::discover(dir.path()).isEmpty());
    EXPECT_TRUE(ProjectDiscovery::discover(dir.path() + "/gone").isEmpty());
}
