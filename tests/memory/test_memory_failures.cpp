// The translation memory when it cannot do its work: another connection
// holding the file's locks, damaged pages, a foreign table. Each failure is
// said, in the core and by verbalo-cli, and never counted as work done.
#include "memory/databasemanagerv2.h"
#include "testsupport.h"

#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// A second connection to the memory's file, as another program would hold it.
class OtherConnection
{
public:
    explicit OtherConnection(const QString &path)
    {
        sqlite3_open(path.toUtf8().constData(), &m_db);
    }
    ~OtherConnection() { sqlite3_close(m_db); }
    OtherConnection(const OtherConnection &) = delete;
    OtherConnection &operator=(const OtherConnection &) = delete;

    bool run(const char *sql)
    {
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    sqlite3 *m_db = nullptr;
};

QString makeTree(const QString &dir)
{
    writeFile(dir, "tree/App/en.lproj/L.strings", "\"yes\" = \"Yes\";\n\"no\" = \"No\";\n");
    writeFile(dir, "tree/App/de.lproj/L.strings", "\"yes\" = \"Ja\";\n\"no\" = \"Nein\";\n");
    return dir + "/tree";
}

} // namespace

TEST(MemoryLocks, NothingIsCountedWhileAnotherConnectionHoldsTheFile)
{
    // A reader keeps the commit from taking the file; a writer keeps the
    // inserts from it; an exclusive holder keeps everything.
    for (const char *hold :
         {"BEGIN; SELECT count(*) FROM tbl_strings;", "BEGIN IMMEDIATE;", "BEGIN EXCLUSIVE;"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("memory.sqlite");
        DatabaseManagerV2 manager(path);
        ASSERT_TRUE(manager.isOpen());
        manager.db()->inDatabase(
            [](Database &db) { db.executeStatements("PRAGMA busy_timeout = 50"); });
        QMutex mutex;
        QString signalled;
        QObject::connect(
            &manager, &DatabaseManagerV2::scanFailed, &manager,
            [&](const QString &reason) {
                QMutexLocker lock(&mutex);
                signalled = reason;
            },
            Qt::DirectConnection);
        OtherConnection other(path);
        ASSERT_TRUE(other.run(hold)) << hold;

        QString error;
        EXPECT_EQ(manager.storeTranslations({{"k", {{"en", "a"}, {"de", "b"}}}}, &error), 0)
            << hold;
        EXPECT_TRUE(error.contains("locked")) << hold << " " << error.toStdString();
        const ScanResult scan = manager.scan(makeTree(dir.path())).result();
        EXPECT_EQ(scan.keysStored, 0) << hold;
        EXPECT_TRUE(scan.failure.contains("locked")) << hold << " " << scan.failure.toStdString();
        QMutexLocker lock(&mutex);
        EXPECT_EQ(signalled, scan.failure) << hold;

        other.run("ROLLBACK");
        EXPECT_EQ(manager.lookupText("en", "Yes"), std::nullopt) << hold;
    }
}

TEST(MemoryLocks, CliScanFailsWhenItsCommitIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("memory.sqlite");
    DatabaseManagerV2(path).isOpen();
    OtherConnection reader(path);
    ASSERT_TRUE(reader.run("BEGIN; SELECT count(*) FROM tbl_strings;"));
    // The program waits out its busy time-out before the commit gives up.
    const CliRun scan = runCliProgram({"scan", "--db", path, makeTree(dir.path())});
    EXPECT_EQ(scan.status, 2);
    EXPECT_EQ(scan.out, "1 groups, 0 keys stored\n");
    EXPECT_TRUE(scan.err.contains("verbalo-cli: the scan stopped early: ")) << scan.err.constData();
    EXPECT_TRUE(scan.err.trimmed().endsWith("database is locked")) << scan.err.constData();
}

TEST(MemoryFiles, DamagedOrForeignFilesAreUnusableAndSayWhy)
{
    QTemporaryDir dir;
    const QString tree = makeTree(dir.path());
    writeFile(dir.path(), "proj/en.lproj/L.strings", "\"yes\" = \"Yes\";\n");
    writeFile(dir.path(), "proj/de.lproj/L.strings", "\"other\" = \"Andere\";\n");

    const QString damaged = dir.filePath("damaged.sqlite");
    {
        DatabaseManagerV2 manager(damaged);
        Harvest harvest;
        for (int i = 0; i < 3000; ++i)
            harvest.insert(QString::number(i),
                           {{"en", QString(40, 'e')}, {"de", QString(40, 'd')}});
        ASSERT_EQ(manager.storeTranslations(harvest), 3000);
    }
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() / 2 / 4096 * 4096);
    file.write(QByteArray(8192, 'x'));
    file.close();
    const QString foreign = dir.filePath("foreign.sqlite");
    OtherConnection(foreign).run(
        "CREATE TABLE tbl_strings (id INTEGER PRIMARY KEY, search_by TEXT, en TEXT)");

    const std::pair<QString, const char *> cases[] = {
        {damaged, "the file is damaged"},
        {foreign, "its table tbl_strings was made by another program: it lacks the columns idx, "
                  "ar, ca, cs, da and 37 more"}};
    for (const auto &[path, why] : cases) {
        const QByteArray before = readFile(path);
        {
            DatabaseManagerV2 manager(path);
            EXPECT_FALSE(manager.isOpen()) << why;
            EXPECT_TRUE(manager.closedReason().startsWith(why))
                << manager.closedReason().toStdString();
            EXPECT_TRUE(manager.scan(tree).result().failure.contains(why)) << why;
        }
        const QString line = "verbalo-cli: the translation memory " + path + " is unusable: " + why;
        for (const QStringList &command : {QStringList{"lookup", "--db", path, "Yes"},
                                           QStringList{"fill", "--db", path, dir.filePath("proj")},
                                           QStringList{"scan", "--db", path, tree}}) {
            const CliRun run = runCliProgram(command);
            EXPECT_EQ(run.status, 2) << command.first().toStdString() << " " << why;
            EXPECT_TRUE(run.err.contains(line.toUtf8())) << run.err.constData();
            EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
        }
        EXPECT_EQ(readFile(path), before) << why;
    }
}
