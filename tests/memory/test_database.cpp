// The translation memory's database: storing, replacing, encodings, lookups
// and files that cannot serve as a database.
#include "memory/databasemanagerv2.h"
#include "common/languages.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class MemoryDatabase : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("mem/i18n-v2.sqlite"); }

    // The raw stored text of a column, as another program would read it.
    static std::optional<QString> rawColumn(DatabaseManagerV2 &manager, const QString &key,
                                            const QString &column)
    {
        std::optional<QString> value;
        manager.db()->inDatabase([&](Database &db) {
            auto rows = db.executeQuery("SELECT " + column + " FROM tbl_strings WHERE search_by = ?",
                                        {DatabaseManagerV2::encodeStored(key)});
            if (rows && rows->next())
                value = rows->stringForColumnIndex(0);
        });
        return value;
    }
};

} // namespace

TEST_F(MemoryDatabase, CreatesTheDesignedTableAndReopensIt)
{
    {
        DatabaseManagerV2 manager(path());
        ASSERT_TRUE(manager.isOpen());
        QStringList names;
        manager.db()->inDatabase([&](Database &db) {
            auto rows = db.executeQuery("SELECT * FROM tbl_strings");
            ASSERT_TRUE(rows);
            for (int i = 0; i < rows->columnCount(); ++i)
                names << rows->columnNameForIndex(i);
        });
        EXPECT_EQ(names.mid(0, 2), QStringList({"idx", "search_by"}));
        EXPECT_EQ(names.mid(2), Languages::sortedCodes());
        EXPECT_EQ(manager.storeTranslations({{"Hello", {{"en", "Hello"}, {"de", "Hallo"}}}}), 1);
    }
    DatabaseManagerV2 again(path());
    ASSERT_TRUE(again.isOpen());
    EXPECT_EQ(again.lookupText("en", "Hello")->value("de"), "Hallo");
}

TEST_F(MemoryDatabase, StoresWholeRecordsAndSkipsSingleLanguages)
{
    DatabaseManagerV2 manager(path());
    Harvest first{{"Open", {{"en", "Open"}, {"de", "Öffnen"}, {"fr", "Ouvrir"}}},
                  {"Lonely", {{"en", "Lonely"}}},
                  {"Odd", {{"en", "Odd"}, {"xx", "not a column"}}}};
    EXPECT_EQ(manager.storeTranslations(first), 1);
    EXPECT_EQ(rawColumn(manager, "Open", "fr"), "Ouvrir");
    EXPECT_EQ(rawColumn(manager, "Lonely", "en"), std::nullopt);
    EXPECT_EQ(rawColumn(manager, "Odd", "en"), std::nullopt);

    // Storing the key again replaces the record: columns not named become NULL.
    EXPECT_EQ(manager.storeTranslations({{"Open", {{"de", "Auf"}, {"fr", "Ouvrir"}}}}), 1);
    EXPECT_EQ(rawColumn(manager, "Open", "en"), std::nullopt);
    EXPECT_EQ(rawColumn(manager, "Open", "de"), "Auf");
    EXPECT_EQ(manager.storeTranslations({}), 0);
}

TEST(MemoryEncoding, StoredAndQueryFormsAreAsDesigned)
{
    const std::pair<const char *, const char *> stored[] = {
        {"Hello world", "Hello%20world"}, {"a\"b\\c%d\ne'f", "a%22b%5Cc%25d%0Ae'f"}, {"Line\\nBreak", "Line%0ABreak"},
        {"-._~!$&'()*+,;=:@/?", "-._~!$&'()*+,;=:@/?"}, {"[ü]", "%5B%C3%BC%5D"}};
    for (const auto &[text, encoded] : stored)
        EXPECT_EQ(DatabaseManagerV2::encodeStored(text), encoded) << text;
    EXPECT_EQ(DatabaseManagerV2::encodeQuery("Say \\\"hi\\\", don\\'t\\n"), "Say%20%22hi%22,%20don't%0A");
    EXPECT_EQ(DatabaseManagerV2::decode("100%25%20sure"), "100% sure");
    for (const char *bad : {"bad%2", "bad%zz", "%C3"})
        EXPECT_EQ(DatabaseManagerV2::decode(bad), std::nullopt) << bad;
}

TEST_F(MemoryDatabase, RandomTextsReadBackAsEncodingAndDecodingSay)
{
    DatabaseManagerV2 manager(path());
    static const char32_t pool[] = {U'a', U'Z', U'0', U' ', U'"', U'\\', U'%', U'\'', U'n',
                                    U'*', U'?', U'[', U'\n', U'\t', U'\x01', U'\x1f', U'\x7f',
                                    U'é', U'ß', U'中', U'😀', U'👍', U'/', U';', U'='};
    auto *random = QRandomGenerator::global();
    Harvest harvest;
    for (int i = 0; i < 200; ++i) {
        QString text;
        const int length = int(random->bounded(1, 24));
        for (int j = 0; j < length; ++j)
            text += QString::fromUcs4(&pool[random->bounded(int(std::size(pool)))], 1);
        harvest.insert(QString::number(i) + text, {{"en", text}, {"de", text + "!"}});
    }
    ASSERT_EQ(manager.storeTranslations(harvest), harvest.size());
    // Stored texts decode back to themselves, but for an escaped line break,
    // stored as the line break it stands for.
    for (auto it = harvest.cbegin(); it != harvest.cend(); ++it) {
        const QString text = it.value().value("en");
        const auto stored = rawColumn(manager, it.key(), "en");
        ASSERT_TRUE(stored) << it.key().toStdString();
        if (!text.contains("\\n"))
            EXPECT_EQ(DatabaseManagerV2::decode(*stored), text) << text.toStdString();
    }
}

// Lookups compare texts, never patterns or column names.
TEST_F(MemoryDatabase, LookupPicksTheRecordWithMostEntriesAndAddsAliases)
{
    DatabaseManagerV2 manager(path());
    manager.storeTranslations({
        {"k1", {{"en_US", "Save"}, {"de", "Sichern"}}},
        {"k2", {{"en_US", "Save"}, {"de", "Speichern"}, {"fr", "Enregistrer"}}},
        {"k3", {{"en_US", "Save"}, {"it", "Salva"}, {"es", "Guardar"}}},
        {"k4", {{"en", "it's"}, {"de", "es ist"}}},
        {"files", {{"en", "Delete files"}, {"de", "Dateien löschen"}}},
        {"same", {{"en", "de"}, {"de", "de"}}},
        {"star", {{"en", "a*"}, {"de", "b*"}}},
    });
    const auto best = manager.lookupText("en_US", "Save");
    ASSERT_TRUE(best);
    // k2 and k3 tie; the earlier row wins. en_US also fills en.
    EXPECT_EQ(best->value("search_by"), "k2");
    EXPECT_EQ(best->value("en"), "Save");
    EXPECT_EQ(best->value("fr"), "Enregistrer");
    // The looked-up text is escaped as in a .strings file.
    EXPECT_EQ(manager.lookupText("en", "it\\'s")->value("de"), "es ist");
    EXPECT_EQ(manager.lookupText("en", "save"), std::nullopt);

    EXPECT_EQ(manager.lookupText("en", "Delete file?"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en", "[D]elete files"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en", "a*")->value("de"), "b*");
    EXPECT_EQ(manager.lookupText("en", "de")->value("search_by"), "same");
    EXPECT_EQ(manager.lookupText("sr", "Delete files"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en = en OR 1", "x"), std::nullopt);
    EXPECT_EQ(manager.lookupText("idx", "1"), std::nullopt);
}

TEST_F(MemoryDatabase, UnusableFilesLeaveTheMemoryClosed)
{
    const QString garbage = writeFile(dir.path(), "garbage.sqlite", QByteArray(4096, 'x'));
    DatabaseManagerV2 notADatabase(garbage);
    EXPECT_FALSE(notADatabase.isOpen());
    EXPECT_EQ(notADatabase.lookupText("en", "x"), std::nullopt);
    EXPECT_EQ(notADatabase.storeTranslations({{"k", {{"en", "a"}, {"de", "b"}}}}), 0);
    EXPECT_EQ(readFile(garbage), QByteArray(4096, 'x'));

    const QString blocker = writeFile(dir.path(), "file", "x");
    DatabaseManagerV2 noFolder(blocker + "/sub/i18n-v2.sqlite");
    EXPECT_FALSE(noFolder.isOpen());
}

TEST_F(MemoryDatabase, ReadOnlyFileLeavesTheMemoryClosedAndIntact)
{
    {
        DatabaseManagerV2 writable(path());
        writable.storeTranslations({{"k", {{"en", "a"}, {"de", "b"}}}});
    }
    const QByteArray before = readFile(path());
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path(), readOnly));

    // Permissions do not bind the super-user: the program asks as nobody then.
    const bool asNobody = geteuid() == 0;
    if (asNobody && !canRunAsNobody())
        GTEST_SKIP() << "needs setpriv to drop privileges";
    const auto traversable =
        readOnly | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    for (QString folder = QFileInfo(path()).absolutePath(); folder.startsWith(dir.path());
         folder = QFileInfo(folder).absolutePath())
        QFile::setPermissions(folder, traversable);
    const CliRun lookup =
        runCliProgram({"lookup", "--db", path(), "--column", "en", "a"}, asNobody);
    EXPECT_EQ(lookup.status, 2);
    EXPECT_TRUE(lookup.err.contains("read-only")) << lookup.err.constData();
    EXPECT_EQ(readFile(path()), before);
    QFile::setPermissions(path(), readOnly | QFile::WriteOwner);
    DatabaseManagerV2 reopened(path());
    EXPECT_EQ(reopened.lookupText("en", "a")->value("de"), "b");
}
