// The folder scan: grouping, column choice, hidden folders, progress, and
// folders that are missing or vanish while the scan runs.
#include "memory/awakeassertion.h"
#include "memory/databasemanagerv2.h"
#include "memory/scanner.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FolderScan : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString root() const { return dir.filePath("tree"); }

    void SetUp() override
    {
        const QString r = root();
        writeFile(r, "App/en.lproj/Localizable.strings",
                  "\"title\" = \"Title\";\n\"break\" = \"Line\\nBreak\";\n\"dup\" = \"first\";\n");
        writeFile(r, "App/en.lproj/Zz.STRINGS", "\"dup\" = \"second\";\n");
        writeFile(r, "App/en.lproj/Extra.md", "\"extra\" = \"Extra\";\n");
        writeFile(r, "App/de.lproj/Extra.md", "\"extra\" = \"Mehr\";\n");
        writeFile(r, "App/de.lproj/Localizable.strings",
                  "\"title\" = \"Titel\";\n\"break\" = \"Zeilen\\nUmbruch\";\n\"dup\" = \"doppelt\";\n");
        writeFile(r, "App/Base.lproj/InfoPlist.strings", "\"title\" = \"Title (US)\";\n");
        writeFile(r, "App/sr.lproj/Localizable.strings", "\"title\" = \"Naslov\";\n");
        writeFile(r, "App/fr.lproj/Broken.strings", "\"title\" = \"Titre\"");
        writeFile(r, "Widget/en.lproj/Localizable.strings", "\"widget\" = \"Widget\";\n");
        writeFile(r, ".hidden/App/en.lproj/Localizable.strings", "\"secret\" = \"Secret\";\n");
        writeFile(r, ".hidden/App/de.lproj/Localizable.strings", "\"secret\" = \"Geheim\";\n");
    }
};

} // namespace

TEST_F(FolderScan, StoresOneRecordPerKeyWithTheFoldersColumns)
{
    DatabaseManagerV2 manager(dir.filePath("db/i18n-v2.sqlite"));
    // The signals come from the scan's thread; its result orders them before the checks.
    QList<QPair<int, int>> progress;
    std::optional<QPair<int, int>> finished;
    QObject::connect(
        &manager, &DatabaseManagerV2::scanProgress, &manager,
        [&](int done, int found) { progress.append({done, found}); }, Qt::DirectConnection);
    QObject::connect(
        &manager, &DatabaseManagerV2::scanFinished, &manager,
        [&](int groups, int keys) { finished = {groups, keys}; }, Qt::DirectConnection);
    const ScanResult result = manager.scan(root()).result();
    EXPECT_EQ(result.groups, 2);
    EXPECT_EQ(result.keysStored, 3); // title, break, dup
    EXPECT_EQ(progress, (QList<QPair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(finished, qMakePair(2, 3));

    const auto title = manager.lookupText("en", "Title");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->value("de"), "Titel");
    EXPECT_EQ(title->value("en_US"), "Title (US)");
    EXPECT_FALSE(title->contains("fr")); // Broken.strings is not read
    EXPECT_EQ(manager.lookupText("en", "second")->value("de"), "doppelt");
    EXPECT_EQ(manager.lookupText("en", "Widget"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en", "Extra"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en", "Secret"), std::nullopt);

    EXPECT_EQ(Scanner::groupLines({""}).value(""), QStringList({""}));
    EXPECT_EQ(Scanner::groupLines({"/a.lproj"}).value("/"), QStringList({"/a.lproj"}));
}

TEST_F(FolderScan, MissingAndVanishingFoldersEndTheScanQuietly)
{
    DatabaseManagerV2 manager(dir.filePath("db/i18n-v2.sqlite"));
    const ScanResult missing = manager.scan(dir.filePath("nowhere")).result();
    EXPECT_EQ(missing.keysStored, 0);

    const ScanResult vanished = Scanner::run(manager, root(), [&](int done, int) {
        if (done == 0)
            QDir(root()).removeRecursively();
    });
    EXPECT_EQ(vanished.groups, 2);
    EXPECT_EQ(vanished.keysStored, 0);
}

TEST(AwakeAssertion, RunsWithoutASessionBus)
{
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/verbalo-test-bus");
    EXPECT_FALSE(AwakeAssertion("test").isHeld());
    if (saved.isEmpty())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}
