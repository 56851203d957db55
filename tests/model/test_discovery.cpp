// Project discovery: the language-path test, the roots found by find, and
// what find could not read or name.
#include "model/projectdiscovery.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

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

TEST(Discovery, SkipsToolAndBuildFoldersBelowTheChosenFolder)
{
    // Checkouts, build products, packages and version control are not the
    // user's; Settings.bundle and fastlane's metadata folders are. The chosen
    // folder (/p here) is not tested.
    const std::pair<const char *, bool> cases[] = {
        {"/p/App/Carthage/Checkouts/Lib/en.lproj/a.strings", false},
        {"/p/App/.build/checkouts/Lib/Sources/en.lproj/a.strings", false},
        {"/p/DerivedData/App/Build/en.lproj/a.strings", false},
        {"/p/web/node_modules/x/de/a.txt", false},
        {"/p/.git/x/en.lproj/a.strings", false}, {"/p/.svn/en.lproj/a.strings", false},
        {"/p/.hg/en.lproj/a.strings", false},
        {"/p/Build/MyApp.app/en.lproj/a.strings", false},
        {"/p/Build/MyApp.app/PlugIns/Share.appex/de.lproj/a.strings", false},
        {"/p/Kit.framework/Resources/en.lproj/a.strings", false},
        {"/p/Archives/A.xcarchive/x/en.lproj/a.strings", false},
        {"/p/App/Settings.bundle/en.lproj/Root.strings", true},
        {"/p/fastlane/metadata/en-US/description.txt", true},
        {"/p/CarthageApp/en.lproj/a.strings", true}, {"/p/build/en.lproj/a.strings", true},
        {"/p/.app/en.lproj/a.strings", true}, {"/p/App/en.lproj/Main.app.strings", true}};
    for (const auto &[path, isLanguage] : cases)
        EXPECT_EQ(ProjectDiscovery::isLanguagePath(QString::fromUtf8(path), 2), isLanguage) << path;
    const QString chosenInsideBundle = QStringLiteral("/p/x.app/App/en.lproj/a.strings");
    EXPECT_TRUE(ProjectDiscovery::isLanguagePath(chosenInsideBundle, 8));
    EXPECT_FALSE(ProjectDiscovery::isLanguagePath(chosenInsideBundle));
}

TEST(Discovery, FindsOneRootPerProjectSortedAndNothingBelowPodsOrAMissingFolder)
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
    writeFile(d, "App/Settings.bundle/en.lproj/Root.strings", "\n");
    writeFile(d, "Carthage/Checkouts/Lib/en.lproj/Lib.strings", "\n");
    writeFile(d, "DerivedData/Build/MyApp.app/en.lproj/Localizable.strings", "\n");
    EXPECT_EQ(ProjectDiscovery::discover(d),
              (QStringList{d + "/App", d + "/App/Settings.bundle", d + "/Site", d + "/Widget"}));
    EXPECT_EQ(ProjectDiscovery::discover(d + "/Carthage/Checkouts"), QStringList{d + "/Carthage/Checkouts/Lib"});
    EXPECT_TRUE(ProjectDiscovery::discover(d + "/Pods").isEmpty());
    EXPECT_TRUE(ProjectDiscovery::discover(d + "/gone").isEmpty());
}

TEST(Discovery, NamesAreTakenWholeAndWhatCannotBeReadIsListed)
{
    // A line feed in a folder name split the path (a bogus root ".", the real
    // one lost); one name that is not UTF-8 made the whole listing undecodable.
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char *file :
         {"Real/xx\nen.lproj/a.strings", "Mixed/en.lproj/\xff.strings", "Mixed/de.lproj/a.txt"})
        writeFileAtBytes(d, file, "\n");
    QList<SkippedPath> skipped;
    EXPECT_EQ(ProjectDiscovery::discover(d, &skipped), (QStringList{d + "/Mixed", d + "/Real"}));
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(skipped.first().reason, "the name is not valid UTF-8");
    removeTree(d);

    // find's complaints, quoted as the locale has it.
    const FindResult r =
        FileFinder::parse(QByteArray("/a\0/b\nc\0", 8),
                          "/usr/bin/find: \u2018/x/a: b\u2019: Permission denied\nfind: odd\n");
    EXPECT_EQ(r.paths, (QStringList{"/a", "/b\nc"}));
    ASSERT_EQ(r.skipped.size(), 2);
    EXPECT_EQ(r.skipped[0].path + "|" + r.skipped[0].reason, "/x/a: b|Permission denied");
    EXPECT_EQ(r.skipped[1].path + "|" + r.skipped[1].reason, "|odd");
}

TEST(Discovery, CliNamesTheFoldersItCouldNotEnter)
{
    const bool asNobody = geteuid() == 0;
    if (asNobody && !canRunAsNobody())
        GTEST_SKIP() << "needs setpriv to drop privileges";
    QTemporaryDir dir;
    const QString d = dir.path();
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                 QFile::ReadOther | QFile::ExeOther);
    writeFile(d, "Open/en.lproj/a.strings", "\n");
    writeFile(d, "Locked/App/en.lproj/a.strings", "\n");
    QFile::setPermissions(d + "/Locked", {});
    const CliRun run = runCliProgram({"discover", d}, asNobody);
    QFile::setPermissions(d + "/Locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, (d + "/Open\n").toUtf8());
    EXPECT_TRUE(run.err.contains(("Skipped " + d + "/Locked: ").toUtf8())) << run.err.constData();
    EXPECT_TRUE(run.err.contains(
        ("verbalo-cli: 1 path below " + d + " could not be read and was left out\n").toUtf8()))
        << run.err.constData();
}
