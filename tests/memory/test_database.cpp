// The translation memory's database: storing, replacing, encodings, lookups
// and files that cannot serve as a database.
#include "memory/databasemanagerv2.h"
#include "common/languages.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
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

TEST_F(MemoryDatabase, CreatesTheDesignedTableStoresWholeRecordsAndReopens)
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
        EXPECT_EQ(names, QStringList({"idx", "search_by"}) + Languages::sortedCodes());
        Harvest first{{"Open", {{"en", "Open"}, {"de", "Öffnen"}, {"fr", "Ouvrir"}}},
                      {"Lonely", {{"en", "Lonely"}}},
                      {"Odd", {{"en", "Odd"}, {"xx", "not a column"}}}};
        EXPECT_EQ(manager.storeTranslations(first), 1);
        EXPECT_EQ(rawColumn(manager, "Lonely", "en"), std::nullopt);
        EXPECT_EQ(rawColumn(manager, "Odd", "en"), std::nullopt);

        // Storing the key again replaces the record: columns not named become NULL.
        EXPECT_EQ(manager.storeTranslations({{"Open", {{"de", "Auf"}, {"fr", "l'œil"}}}}), 1);
        EXPECT_EQ(rawColumn(manager, "Open", "en"), std::nullopt);
        EXPECT_EQ(rawColumn(manager, "Open", "fr"), "l'%C5%93il");
    }
    DatabaseManagerV2 again(path());
    EXPECT_EQ(again.lookupText("de", "Auf")->value("fr"), "l'œil");
}

// The stored form decodes back to the text, but for an escaped line break,
// stored as the line break it stands for.
TEST(MemoryEncoding, StoredAndQueryFormsAreAsDesigned)
{
    const std::pair<const char *, const char *> stored[] = {
        {"Hello world", "Hello%20world"},
        {"a\"b\\c%d\ne'f", "a%22b%5Cc%25d%0Ae'f"},
        {"-._~!$&'()*+,;=:@/?", "-._~!$&'()*+,;=:@/?"},
        {"[ü]\t\x1f\x7f", "%5B%C3%BC%5D%09%1F%7F"},
        {"中😀", "%E4%B8%AD%F0%9F%98%80"}};
    for (const auto &[text, encoded] : stored) {
        EXPECT_EQ(DatabaseManagerV2::encodeStored(text), encoded) << text;
        EXPECT_EQ(DatabaseManagerV2::decode(encoded), text) << encoded;
    }
    EXPECT_EQ(DatabaseManagerV2::encodeStored("Line\\nBreak"), "Line%0ABreak");
    EXPECT_EQ(DatabaseManagerV2::encodeQuery("Say \\\"hi\\\", don\\'t\\n"),
              "Say%20%22hi%22,%20don't%0A");
    for (const char *bad : {"bad%2", "bad%zz", "%C3"})
        EXPECT_EQ(DatabaseManagerV2::decode(bad), std::nullopt) << bad;
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

    EXPECT_EQ(manager.lookupText("en", "[D]elete files"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en", "a*")->value("de"), "b*");
    EXPECT_EQ(manager.lookupText("en", "de")->value("search_by"), "same");
    EXPECT_EQ(manager.lookupText("sr", "Delete files"), std::nullopt);
    EXPECT_EQ(manager.lookupText("en = en OR 1", "x"), std::nullopt);
    EXPECT_EQ(manager.lookupText("idx", "1"), std::nullopt);
}

TEST_F(MemoryDatabase, AClosedMemoryStoresAndFindsNothing)
{
    DatabaseManagerV2 noFolder(writeFile(dir.path(), "file", "x") + "/sub/i18n-v2.sqlite");
    EXPECT_FALSE(noFolder.isOpen());
    EXPECT_EQ(noFolder.lookupText("en", "x"), std::nullopt);
    EXPECT_EQ(noFolder.storeTranslations({{"k", {{"en", "a"}, {"de", "b"}}}}), 0);
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
