// The translation memory when it cannot do its work: another connection
// holding the file's locks, damaged pages, a foreign table. Each failure is
// said, in the core and by verbalo-cli, and never counted as work done.
#include "memory/databasemanagerv2.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

namespace {

// A second connection to the file, as another program would hold it.
std::shared_ptr<sqlite3> otherConnection(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return std::shared_ptr<sqlite3>(db, sqlite3_close);
}

QString makeTree(const QString &dir)
{
    writeFile(dir, "tree/App/en.lproj/L.strings", "\"yes\" = \"Yes\";\n");
    writeFile(dir, "tree/App/de.lproj/L.strings", "\"yes\" = \"Ja\";\n");
    return dir + "/tree";
}

} // namespace

TEST(MemoryLocks, NothingIsCountedWhileAnotherConnectionHoldsTheFile)
{
    // A reader keeps the commit from the file, a writer the inserts, an exclusive holder both.
    for (const char *hold :
         {"BEGIN; SELECT count(*) FROM tbl_strings;", "BEGIN IMMEDIATE;", "BEGIN EXCLUSIVE;"}) {
        QTemporaryDir dir;
        DatabaseManagerV2 manager(dir.filePath("memory.sqlite"));
        manager.db()->inDatabase(
            [](Database &db) { db.executeStatements("PRAGMA busy_timeout = 50"); });
        QString signalled;
        QObject::connect(
            &manager, &DatabaseManagerV2::scanFailed, &manager,
            [&](const QString &reason) { signalled = reason; }, Qt::DirectConnection);
        auto other = otherConnection(dir.filePath("memory.sqlite"), hold);
        QString error;
        EXPECT_EQ(manager.storeTranslations({{"k", {{"en", "a"}, {"de", "b"}}}}, &error), 0)
            << hold;
        EXPECT_EQ(error, "database is locked") << hold;
        const ScanResult scan = manager.scan(makeTree(dir.path())).result();
        EXPECT_EQ(scan.keysStored, 0) << hold;
        EXPECT_TRUE(scan.failure.endsWith("could not be stored: database is locked")) << hold;
        EXPECT_EQ(signalled, scan.failure) << hold;
    }
    // The program waits out its own busy time-out before its commit gives up.
    QTemporaryDir dir;
    DatabaseManagerV2(dir.filePath("memory.sqlite")).isOpen();
    auto reader =
        otherConnection(dir.filePath("memory.sqlite"), "BEGIN; SELECT count(*) FROM tbl_strings;");
    const CliRun scan =
        runCliProgram({"scan", "--db", dir.filePath("memory.sqlite"), makeTree(dir.path())});
    EXPECT_EQ(scan.status, 2);
    EXPECT_EQ(scan.out, "1 groups, 0 keys stored\n");
    EXPECT_TRUE(scan.err.endsWith("could not be stored: database is locked\n"))
        << scan.err.constData();
}

TEST(MemoryFiles, DamagedOrForeignFilesAreUnusableAndSayWhy)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.sqlite");
    {
        Harvest harvest;
        for (int i = 0; i < 3000; ++i)
            harvest.insert(QString::number(i),
                           {{"en", QString(40, 'e')}, {"de", QString(40, 'd')}});
        ASSERT_EQ(DatabaseManagerV2(damaged).storeTranslations(harvest), 3000);
    }
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(file.size() / 2 / 4096 * 4096));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const QString foreign = dir.filePath("foreign.sqlite");
    otherConnection(foreign,
                    "CREATE TABLE tbl_strings (id INTEGER PRIMARY KEY, search_by TEXT, en TEXT)");
    writeFile(dir.path(), "proj/en.lproj/L.strings", "\"yes\" = \"Yes\";\n");
    writeFile(dir.path(), "proj/de.lproj/L.strings", "\"no\" = \"Nein\";\n");

    const QString garbage = writeFile(dir.path(), "garbage.sqlite", QByteArray(4096, 'x'));
    const std::pair<QString, QString> cases[] = {
        {garbage, "file is not a database"},
        {damaged, "the file is damaged (Page "},
        {foreign,
         "its table tbl_strings was made by another program: it lacks the columns idx, ar, ca"}};
    for (const auto &[path, why] : cases) {
        const QByteArray before = readFile(path);
        EXPECT_TRUE(DatabaseManagerV2(path).closedReason().startsWith(why)) << why.toStdString();
        const QString line = "verbalo-cli: the translation memory " + path + " is unusable: " + why;
        for (const QStringList &command :
             {QStringList{"lookup", "--db", path, "Yes"},
              QStringList{"fill", "--db", path, dir.filePath("proj")},
              QStringList{"scan", "--db", path, makeTree(dir.path())}}) {
            const CliRun run = runCliProgram(command);
            EXPECT_EQ(run.status, 2) << command.join(' ').toStdString();
            EXPECT_TRUE(run.err.contains(line.toUtf8()) && run.out.isEmpty())
                << run.err.constData();
        }
        EXPECT_EQ(readFile(path), before) << why.toStdString();
    }
}
