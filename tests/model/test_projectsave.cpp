// Saving: which entries go to which file, with which key and comment, in
// which order; .txt files; and write failures that must leave files whole.
#include "model/projectmodel.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

ProjectModel loaded(const QString &root) { return loadProject(root, false); }

QString fileText(const QString &path) { return QString::fromUtf8(readFile(path)); }

} // namespace

TEST(ProjectSave, BaseKeyAndCommentInEveryLanguageAndMissingEntriesLeftOut)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en.lproj/Main.strings"),
              "/* About b */\n\"b\" = \"Bee\";\n/* About a */\n\"a\" = \"Say \\\"hi\\\" \\\"x\\\"\";\n"
              "\"c\" = \"Fish &amp; Chips\";\n");
    writeFile(d, QStringLiteral("de.lproj/Main.strings"), "/* Deutsch */\n\"a\" = \"Sag \"hallo\"\";\n");
    writeFile(d, QStringLiteral("de.lproj/Only.strings"), "/* x */\n\"orphan\" = \"Waise\";\n");
    writeFile(d, QStringLiteral("en.lproj/Info.strings"), "\"name\" = \"App\";\n");
    ProjectModel m = loaded(d);
    m.save();

    EXPECT_EQ(fileText(d + QStringLiteral("/en.lproj/Main.strings")),
              QStringLiteral("\n/* About a */\n\"a\" = \"Say \\\"hi\\\" \\\"x\\\"\";\n\n"
                             "/* About b */\n\"b\" = \"Bee\";\n\n"
                             "/**/\n\"c\" = \"Fish & Chips\";\n\n"));
    // German keeps only its own value, under the base key and comment.
    EXPECT_EQ(fileText(d + QStringLiteral("/de.lproj/Main.strings")),
              QStringLiteral("\n/* About a */\n\"a\" = \"Sag \\\"hallo\\\"\";\n\n"));
    // Every language gets every .strings file; a row without a base entry is
    // written nowhere.
    EXPECT_EQ(fileText(d + QStringLiteral("/de.lproj/Info.strings")), QStringLiteral("\n"));
    EXPECT_EQ(fileText(d + QStringLiteral("/de.lproj/Only.strings")), QStringLiteral("\n"));
    EXPECT_EQ(fileText(d + QStringLiteral("/en.lproj/Only.strings")), QStringLiteral("\n"));
    EXPECT_TRUE(m.data.contains(QStringLiteral("orphan-Only.strings")));

    // An edited base key is written in every language.
    m.data[QStringLiteral("a-Main.strings")][QStringLiteral("en")].key = QStringLiteral("greeting");
    m.save();
    EXPECT_TRUE(fileText(d + QStringLiteral("/de.lproj/Main.strings")).contains(QStringLiteral("\"greeting\" = \"Sag")));
}

TEST(ProjectSave, KeysInCollationOrderNotCodePointOrder)
{
    QTemporaryDir dir;
    writeFile(dir.path(), QStringLiteral("en.lproj/L.strings"),
              "\"zebra\" = \"z\";\n\"banana\" = \"b\";\n\"\xc3\x84pfel\" = \"a\";\n\"apple\" = \"a\";\n");
    loaded(dir.path()).save();
    const QString text = fileText(dir.path() + QStringLiteral("/en.lproj/L.strings"));
    QList<qsizetype> positions;
    for (const char *key : {"\"\xc3\x84pfel\"", "\"apple\"", "\"banana\"", "\"zebra\""})
        positions << text.indexOf(QString::fromUtf8(key));
    EXPECT_GE(positions.first(), 0);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << text.toStdString();
}

TEST(ProjectSave, TxtFilesOnlyWhereTheLanguageHasThem)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en-US/notes.txt"), "Line one\nLine \"two\" &amp;\n");
    writeFile(d, QStringLiteral("de-DE/other.txt"), "x");
    ProjectModel m = loaded(d);
    m.data[QStringLiteral("notes.txt-notes.txt")][QStringLiteral("en-US")].value = QStringLiteral("New \"text\"");
    m.save();
    EXPECT_EQ(fileText(d + QStringLiteral("/en-US/notes.txt")), QStringLiteral("New \"text\""));
    EXPECT_FALSE(QFileInfo::exists(d + QStringLiteral("/de-DE/notes.txt")));
    EXPECT_FALSE(QFileInfo::exists(d + QStringLiteral("/en-US/other.txt")));
}

TEST(ProjectSave, WriteFailuresSkipTheFileAndCreateNoFolders)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en.lproj/A.strings"), "\"k\" = \"v\";\n");
    writeFile(d, QStringLiteral("en.lproj/B.strings"), "\"k\" = \"w\";\n");
    writeFile(d, QStringLiteral("de.lproj/A.strings"), "\"k\" = \"x\";\n");
    ProjectModel m = loaded(d);
    // de's folder vanished; a folder stands where en's B.strings would go.
    QDir(d + QStringLiteral("/de.lproj")).removeRecursively();
    QFile::remove(d + QStringLiteral("/en.lproj/B.strings"));
    QDir().mkpath(d + QStringLiteral("/en.lproj/B.strings"));
    m.save();
    EXPECT_FALSE(QFileInfo::exists(d + QStringLiteral("/de.lproj")));
    EXPECT_FALSE(QFileInfo::exists(d + QStringLiteral("/de")));
    EXPECT_TRUE(QFileInfo(d + QStringLiteral("/en.lproj/B.strings")).isDir());
    EXPECT_EQ(fileText(d + QStringLiteral("/en.lproj/A.strings")), QStringLiteral("\n/**/\n\"k\" = \"v\";\n\n"));

    // A vanished root: nothing is created.
    QDir(d).removeRecursively();
    m.save();
    EXPECT_FALSE(QFileInfo::exists(d));
}

TEST(ProjectSave, FilesThatCouldNotBeDecodedAreNeverReplaced)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en.lproj/Main.strings"), "\"k\" = \"Size\";\n");
    // Latin-1 bytes without a byte-order mark: not UTF-8, so the load cannot read it.
    const QByteArray latin1 = "\"k\" = \"Gr\xf6\xdf" "e\";\n";
    const QString de = writeFile(d, QStringLiteral("de.lproj/Main.strings"), latin1);
    ProjectModel m = loaded(d);
    EXPECT_TRUE(m.unreadableFiles.contains(de));

    m.data[QStringLiteral("k-Main.strings")][QStringLiteral("de")] = {QStringLiteral("k"), QStringLiteral("Groesse"), {}};
    m.save();
    EXPECT_EQ(readFile(de), latin1);
    EXPECT_EQ(fileText(d + QStringLiteral("/en.lproj/Main.strings")), QStringLiteral("\n/**/\n\"k\" = \"Size\";\n\n"));
}

// Makes a folder unwritable for the life of the object: by its permissions,
// or, for root (whom permissions do not stop), by the immutable attribute.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        if (geteuid() == 0)
            m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        else
            m_ok = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};

TEST(ProjectSave, ReadOnlyFolderKeepsItsFiles)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    const QByteArray original = "\"k\" = \"v\";\n";
    writeFile(d, QStringLiteral("en.lproj/A.strings"), original);
    writeFile(d, QStringLiteral("de.lproj/A.strings"), original);
    ProjectModel m = loaded(d);
    m.data[QStringLiteral("k-A.strings")][QStringLiteral("en")].value = QStringLiteral("changed");
    {
        ReadOnlyFolder readOnly(d + QStringLiteral("/en.lproj"));
        if (!readOnly.ok())
            GTEST_SKIP() << "cannot make a folder read-only here";
        m.save();
    }
    EXPECT_EQ(readFile(d + QStringLiteral("/en.lproj/A.strings")), original);
    EXPECT_EQ(QDir(d + QStringLiteral("/en.lproj")).entryList(QDir::Files), QStringList{QStringLiteral("A.strings")});
    EXPECT_EQ(readFile(d + QStringLiteral("/de.lproj/A.strings")), QByteArray("\n/**/\n\"k\" = \"v\";\n\n"));
}
