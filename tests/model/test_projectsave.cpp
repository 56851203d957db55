// Saving: which entries go to which file, with which key and comment, in
// which order; .txt files; and write failures that must leave files whole.
#include "model/keycollator.h"
#include "model/projectmodel.h"
#include "model/stringsreader.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace {

ProjectModel loaded(const QString &root) { return loadProject(root, false); }

QString fileText(const QString &path) { return QString::fromUtf8(readFile(path)); }

} // namespace

TEST(ProjectSave, BaseKeyAndCommentInEveryLanguageAndMissingEntriesLeftOut)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en.lproj/Main.strings",
              "/* About b */\n\"b\" = \"Bee\";\n/* About a */\n\"a\" = \"Say \\\"hi\\\" \\\"x\\\"\";\n"
              "\"c\" = \"Fish &amp; Chips\";\n");
    writeFile(d, "de.lproj/Main.strings", "/* Deutsch */\n\"a\" = \"Sag \"hallo\"\";\n");
    writeFile(d, "de.lproj/Only.strings", "/* x */\n\"orphan\" = \"Waise\";\n");
    writeFile(d, "en.lproj/Info.strings", "\"name\" = \"App\";\n");
    ProjectModel m = loaded(d);
    m.save();

    EXPECT_EQ(fileText(d + "/en.lproj/Main.strings"),
              QStringLiteral("\n/* About a */\n\"a\" = \"Say \\\"hi\\\" \\\"x\\\"\";\n\n"
                             "/* About b */\n\"b\" = \"Bee\";\n\n"
                             "/**/\n\"c\" = \"Fish & Chips\";\n\n"));
    // German keeps only its own value, under the base key and comment.
    EXPECT_EQ(fileText(d + "/de.lproj/Main.strings"), "\n/* About a */\n\"a\" = \"Sag \\\"hallo\\\"\";\n\n");
    // Every language gets every .strings file; a row without a base entry is
    // written in its own languages with their own key and comment.
    EXPECT_EQ(fileText(d + "/de.lproj/Info.strings"), "\n");
    EXPECT_EQ(fileText(d + "/de.lproj/Only.strings"), "\n/* x */\n\"orphan\" = \"Waise\";\n\n");
    EXPECT_EQ(fileText(d + "/en.lproj/Only.strings"), "\n");

    // An edited base key is written in every language.
    m.data["a-Main.strings"]["en"].key = "greeting";
    m.save();
    EXPECT_TRUE(fileText(d + "/de.lproj/Main.strings").contains("\"greeting\" = \"Sag"));
}

TEST(ProjectSave, KeysInCollationOrderNotCodePointOrder)
{
    QTemporaryDir dir;
    writeFile(dir.path(), "en.lproj/L.strings",
              "\"zebra\" = \"z\";\n\"banana\" = \"b\";\n\"\xc3\x84pfel\" = \"a\";\n\"apple\" = \"a\";\n");
    loaded(dir.path()).save();
    QStringList keys;
    for (const Entry &entry : StringsReader::parse(fileText(dir.path() + "/en.lproj/L.strings")))
        keys << entry.key;
    EXPECT_EQ(keys, (QStringList{"\u00C4pfel", "apple", "banana", "zebra"}));

    // A large file in random order, in two languages: its rows are gathered,
    // sorted and written on paths small files never take, in parts on
    // several threads. Some rows have no base entry, and then keep their own
    // comment; the others take the base's.
    QTemporaryDir large;
    const QStringList stems = {"apple",       "\u00C4pfel", "Apple", "zebra",
                               "\u00E9clair", "eclair",     "Zoo",   "b"};
    constexpr int Keys = 40000;
    QStringList shuffled;
    for (int i = 0; i < Keys; ++i)
        shuffled << stems[i % stems.size()] + QString::number(qint64(i) * 7919 % Keys);
    std::mt19937 random(3);
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    const auto baseless = [](const QString &key) { return qHash(key, 1) % 97 == 0; };
    QByteArray en;
    QByteArray de;
    for (const QString &key : std::as_const(shuffled)) {
        const QByteArray k = key.toUtf8();
        if (!baseless(key))
            en += "/* en " + k + " */\n\"" + k + "\" = \"en " + k + "\";\n";
        de += "/* de " + k + " */\n\"" + k + "\" = \"de " + k + "\";\n";
    }
    writeFile(large.path(), "en.lproj/L.strings", en);
    writeFile(large.path(), "de.lproj/L.strings", de);
    ASSERT_TRUE(loaded(large.path()).save().notWritten.isEmpty());
    const KeyCollator collator{QString()};
    std::stable_sort(shuffled.begin(), shuffled.end(), [&](const QString &a, const QString &b) {
        return collator.compare(a + "-L.strings", b + "-L.strings") < 0;
    });
    for (const QString language : {"en", "de"}) {
        const QList<Entry> written =
            StringsReader::parse(fileText(large.path() + "/" + language + ".lproj/L.strings"));
        qsizetype at = 0;
        for (const QString &key : std::as_const(shuffled)) {
            if (language == "en" && baseless(key))
                continue;
            ASSERT_LT(at, written.size());
            ASSERT_EQ(written[at].key, key);
            ASSERT_EQ(written[at].value, language + " " + key);
            ASSERT_EQ(written[at].comment, (baseless(key) ? " de " : " en ") + key + " ");
            ++at;
        }
        ASSERT_EQ(at, written.size());
    }
}

TEST(ProjectSave, TxtFilesOnlyWhereTheLanguageHasThem)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en-US/notes.txt", "Line one\nLine \"two\" &amp;\n");
    writeFile(d, "de-DE/other.txt", "x");
    ProjectModel m = loaded(d);
    m.data["notes.txt-notes.txt"]["en-US"].value = "New \"text\"";
    m.save();
    EXPECT_EQ(fileText(d + "/en-US/notes.txt"), "New \"text\"");
    EXPECT_FALSE(QFileInfo::exists(d + "/de-DE/notes.txt"));
    EXPECT_FALSE(QFileInfo::exists(d + "/en-US/other.txt"));
}

TEST(ProjectSave, WriteFailuresSkipTheFileAndCreateNoFolders)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en.lproj/A.strings", "\"k\" = \"v\";\n");
    writeFile(d, "en.lproj/B.strings", "\"k\" = \"w\";\n");
    writeFile(d, "de.lproj/A.strings", "\"k\" = \"x\";\n");
    ProjectModel m = loaded(d);
    // de's folder vanished; a folder stands where en's B.strings would go.
    QDir(d + "/de.lproj").removeRecursively();
    QFile::remove(d + "/en.lproj/B.strings");
    QDir().mkpath(d + "/en.lproj/B.strings");
    // Both losses are reported; the files with nothing to lose are not.
    EXPECT_EQ(m.save().notWritten,
              (QList<SaveFailure>{{d + "/de/A.strings", "its folder does not exist"},
                                  {d + "/en.lproj/B.strings", "not a regular file"}}));
    EXPECT_FALSE(QFileInfo::exists(d + "/de.lproj"));
    EXPECT_FALSE(QFileInfo::exists(d + "/de"));
    EXPECT_TRUE(QFileInfo(d + "/en.lproj/B.strings").isDir());
    EXPECT_EQ(fileText(d + "/en.lproj/A.strings"), "\n/**/\n\"k\" = \"v\";\n\n");

    // A vanished root: nothing is created.
    QDir(d).removeRecursively();
    m.save();
    EXPECT_FALSE(QFileInfo::exists(d));
}

TEST(ProjectSave, FilesThatCouldNotBeDecodedAreNeverReplaced)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, "en.lproj/Main.strings", "\"k\" = \"Size\";\n");
    // Latin-1 bytes without a byte-order mark: not UTF-8, so the load cannot read it.
    const QByteArray latin1 = "\"k\" = \"Gr\xf6\xdf" "e\";\n";
    const QString de = writeFile(d, "de.lproj/Main.strings", latin1);
    ProjectModel m = loaded(d);
    EXPECT_TRUE(m.keptFiles.contains(de));

    EXPECT_TRUE(m.save().ok());
    m.data["k-Main.strings"]["de"] = {"k", "Groesse", {}};
    EXPECT_EQ(m.save().notWritten.value(0).path, de);
    EXPECT_EQ(readFile(de), latin1);
    EXPECT_EQ(fileText(d + "/en.lproj/Main.strings"), "\n/**/\n\"k\" = \"Size\";\n\n");
}

// Makes a folder unwritable or writable again: by its permissions, or, for
// root (whom permissions do not stop), by the immutable attribute.
static bool setReadOnly(const QString &path, bool readOnly)
{
    if (geteuid() == 0)
        return QProcess::execute("chattr", {readOnly ? "+i" : "-i", path}) == 0;
    const QFileDevice::Permissions write =
        readOnly ? QFileDevice::Permissions() : QFileDevice::WriteOwner;
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner | write);
}

TEST(ProjectSave, ReadOnlyFolderKeepsItsFiles)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    const QByteArray original = "\"k\" = \"v\";\n";
    writeFile(d, "en.lproj/A.strings", original);
    writeFile(d, "de.lproj/A.strings", original);
    ProjectModel m = loaded(d);
    m.data["k-A.strings"]["en"].value = "changed";
    if (!setReadOnly(d + "/en.lproj", true))
        GTEST_SKIP() << "cannot make a folder read-only here";
    const QList<SaveFailure> notWritten = m.save().notWritten;
    setReadOnly(d + "/en.lproj", false);
    EXPECT_EQ(notWritten,
              (QList<SaveFailure>{{d + "/en.lproj/A.strings", "could not be written"}}));
    EXPECT_EQ(readFile(d + "/en.lproj/A.strings"), original);
    EXPECT_EQ(QDir(d + "/en.lproj").entryList(QDir::Files), QStringList{"A.strings"});
    EXPECT_EQ(readFile(d + "/de.lproj/A.strings"), QByteArray("\n/**/\n\"k\" = \"v\";\n\n"));
}
