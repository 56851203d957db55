// Loading a project root: language passes, rows, logs, and bad input.
#include "model/projectmodel.h"
#include "testsupport.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ProjectModel loadRoot(const QString &root) { return loadProject(root, false); }

QString kEn() { return QStringLiteral("en"); }

QByteArray utf16WithBom(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

TEST(ProjectLoad, RowsGroupLanguagesByKeyAndFile)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en.lproj/Localizable.strings"),
              "\n/* Title */\n\"title\" = \"Hello\";\n\"title\" = \"Hello again\";\n\"same\" = \"x\";\n");
    writeFile(d, QStringLiteral("en.lproj/InfoPlist.strings"), "\"same\" = \"y\";\n");
    writeFile(d, QStringLiteral("de.lproj/Localizable.strings"), "\"title\" = \"Hallo\";\n\"same\" = \"\";\n");
    writeFile(d, QStringLiteral("de.lproj/about.txt"), "");
    const ProjectModel m = loadRoot(d);

    EXPECT_EQ(m.languages, (QStringList{QStringLiteral("de"), QStringLiteral("en")}));
    const Row title = m.data.value(QStringLiteral("title-Localizable.strings"));
    ASSERT_EQ(title.size(), 2);
    EXPECT_EQ(title.value(QStringLiteral("en")).value, QStringLiteral("Hello again")); // last one wins
    EXPECT_EQ(title.value(QStringLiteral("de")).value, QStringLiteral("Hallo"));
    // The same key in two files gives two rows; an empty value gives no entry.
    EXPECT_EQ(m.data.value(QStringLiteral("same-Localizable.strings")).keys(), QStringList{QStringLiteral("en")});
    EXPECT_EQ(m.data.value(QStringLiteral("same-InfoPlist.strings")).value(QStringLiteral("en")).value,
              QStringLiteral("y"));
    // An empty .txt file is an entry with an empty value and an empty comment.
    const Entry about = m.data.value(QStringLiteral("about.txt-about.txt")).value(QStringLiteral("de"));
    EXPECT_EQ(about.key, QStringLiteral("about.txt"));
    EXPECT_TRUE(about.value.isEmpty());
    ASSERT_TRUE(about.comment.has_value());
    EXPECT_TRUE(about.comment->isEmpty());
    EXPECT_EQ(m.mapKeyToFile.value(QStringLiteral("about.txt-about.txt")), QStringLiteral("about.txt"));
    EXPECT_EQ(m.mapKeyToFile.value(QStringLiteral("same-InfoPlist.strings")), QStringLiteral("InfoPlist.strings"));
    EXPECT_EQ(m.mapKeyToFile.size(), m.data.size());
}

TEST(ProjectLoad, LanguagePassesInOrder)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("en.lproj/a.strings"), "\"k\" = \"v\";\n");
    writeFile(d, QStringLiteral("pt-BR.lproj/a.strings"), "\"k\" = \"v\";\n");
    writeFile(d, QStringLiteral("de-DE/a.txt"), "Text");
    writeFile(d, QStringLiteral("zz-Top/a.txt"), "x");
    writeFile(d, QStringLiteral("fr-notes"), "a plain file");
    writeFile(d, QStringLiteral("gsw/a.txt"), "x");
    // A lproj folder counts once, under its name less the extension: listing it
    // a second time under its whole name would let Save overwrite its files.
    EXPECT_EQ(loadRoot(d).languages, (QStringList{QStringLiteral("en"), QStringLiteral("pt-BR"),
                                                  QStringLiteral("de-DE"), QStringLiteral("fr-notes")}));

    // The third pass runs only when no other pass found a language.
    QTemporaryDir bare;
    writeFile(bare.path(), QStringLiteral("gsw/a.txt"), "x");
    writeFile(bare.path(), QStringLiteral("Images/b.txt"), "x");
    writeFile(bare.path(), QStringLiteral("xx/b.txt"), "x");
    const ProjectModel m = loadRoot(bare.path());
    EXPECT_EQ(m.languages, QStringList{QStringLiteral("gsw")});
    EXPECT_EQ(m.data.size(), 1);
}

TEST(ProjectLoad, LogsUnreadableAndEmptyFilesAndGoesOn)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, QStringLiteral("de.lproj/Blank.strings"), " \n\t\r\n ");
    writeFile(d, QStringLiteral("de.lproj/Empty.strings"), "");
    writeFile(d, QStringLiteral("de.lproj/Junk.strings"), QByteArray("\x80\xff\xfe\x00\x01\xc3", 6));
    writeFile(d, QStringLiteral("de.lproj/Good.strings"), "\"k\" = \"v\";\n");
    writeFile(d, QStringLiteral("de.lproj/Junk.txt"), QByteArray("\x80\x81\xfd", 3));
    QDir().mkpath(d + QStringLiteral("/de.lproj/Folder.strings"));
    testing::internal::CaptureStdout();
    const ProjectModel m = loadRoot(d);
    const QStringList lines = QString::fromStdString(testing::internal::GetCapturedStdout()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Empty file for: de"), QStringLiteral("Empty file for: de"),
                                  QStringLiteral("Can't read file @ ") + d + QStringLiteral("/de.lproj/Folder.strings"),
                                  QStringLiteral("Can't read file @ ") + d + QStringLiteral("/de.lproj/Junk.strings")}));
    EXPECT_TRUE(m.data.contains(QStringLiteral("k-Good.strings")));
    EXPECT_EQ(m.data.size(), 1);
}

TEST(ProjectLoad, ByteOrderMarksDecide)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    const QString text = QStringLiteral("/* Grüße */\n\"greeting\" = \"こんにちは\";\n");
    writeFile(d, QStringLiteral("ja.lproj/Le.strings"), utf16WithBom(text, QStringConverter::Utf16LE));
    writeFile(d, QStringLiteral("ja.lproj/Be.strings"), utf16WithBom(text, QStringConverter::Utf16BE));
    writeFile(d, QStringLiteral("ja.lproj/Bom8.strings"), QByteArray("\xef\xbb\xbf") + text.toUtf8());
    const ProjectModel m = loadRoot(d);
    for (const char *file : {"Le", "Be", "Bom8"}) {
        const Entry e = m.data.value(QStringLiteral("greeting-%1.strings").arg(QLatin1String(file)))
                            .value(QStringLiteral("ja"));
        EXPECT_EQ(e.value, QStringLiteral("こんにちは")) << file;
        EXPECT_EQ(e.comment, QStringLiteral(" Grüße ")) << file;
    }
}

TEST(ProjectLoad, MissingOrEmptyRootLeavesTheModelEmpty)
{
    QTemporaryDir dir;
    EXPECT_TRUE(loadRoot(dir.path() + QStringLiteral("/gone")).languages.isEmpty());
    EXPECT_TRUE(loadRoot(dir.path()).languages.isEmpty());
    EXPECT_TRUE(loadRoot(QString()).languages.isEmpty());
    // A language folder that is really a file still counts as a language.
    writeFile(dir.path(), QStringLiteral("en.lproj"), "not a folder");
    const ProjectModel m = loadRoot(dir.path());
    EXPECT_EQ(m.languages, QStringList{QStringLiteral("en")});
    EXPECT_TRUE(m.data.isEmpty());
}

// The parallel merge must leave every row as a sequential load in listing
// order would: the later file wins, also across files and repeated languages.
TEST(ProjectLoad, LaterFilesWinAsInASequentialLoad)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    // Both give the row key a-b-c.strings; b-c.strings is listed first.
    writeFile(d, QStringLiteral("en.lproj/b-c.strings"), "\"a\" = \"from b-c\";\n");
    writeFile(d, QStringLiteral("en.lproj/c.strings"), "\"a-b\" = \"from c\";\n");
    // "en" is listed twice: en.lproj in the first pass, the bare en in the second.
    writeFile(d, QStringLiteral("en/c.strings"), "\"k\" = \"bare\";\n");
    writeFile(d, QStringLiteral("en.lproj/d.strings"), "\"k\" = \"lproj\";\n");
    ProjectModel m = loadRoot(d);
    EXPECT_EQ(m.languages, (QStringList{kEn(), kEn()}));
    const Entry collided = m.data.value(QStringLiteral("a-b-c.strings")).value(kEn());
    EXPECT_EQ(collided.key, QStringLiteral("a-b"));
    EXPECT_EQ(collided.value, QStringLiteral("from c"));
    EXPECT_EQ(m.mapKeyToFile.value(QStringLiteral("a-b-c.strings")), QStringLiteral("c.strings"));
    EXPECT_EQ(m.data.value(QStringLiteral("k-c.strings")).value(kEn()).value, QStringLiteral("bare"));

    // A second load adds to the model.
    QTemporaryDir other;
    writeFile(other.path(), QStringLiteral("de.lproj/c.strings"), "\"a-b\" = \"aus c\";\n");
    m.projectURL = other.path();
    m.load();
    const Row row = m.data.value(QStringLiteral("a-b-c.strings"));
    EXPECT_EQ(row.value(kEn()).value, QStringLiteral("from c"));
    EXPECT_EQ(row.value(QStringLiteral("de")).value, QStringLiteral("aus c"));
    EXPECT_EQ(m.languages.size(), 3);
}
