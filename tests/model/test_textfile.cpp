// TextFile: encoding detection on read, and atomic writes that leave
// unchanged files and missing folders alone (a write into a read-only folder
// is checked through ProjectSave).
#include "model/textfile.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> readBytes(const QByteArray &bytes)
{
    QTemporaryDir dir;
    return TextFile::read(writeFile(dir.path(), u"f.strings"_s, bytes));
}

} // namespace

TEST(TextFile, ReadsByteOrderMarksAndUtf8)
{
    const QString text = u"\"k\" = \"\u00E9\U0001F600\";"_s;
    const QByteArray utf8 = text.toUtf8();
    EXPECT_EQ(readBytes(utf8), text);
    EXPECT_EQ(readBytes("\xEF\xBB\xBF" + utf8), text);

    for (const auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE, QStringConverter::Utf32LE,
                                QStringConverter::Utf32BE}) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        EXPECT_EQ(readBytes(encoder.encode(text)), text) << int(encoding);
    }
    // Only the first mark is taken off.
    EXPECT_EQ(readBytes("\xEF\xBB\xBF\xEF\xBB\xBFx"), u"\uFEFFx"_s);
    EXPECT_EQ(readBytes(QByteArray()), QString());
}

TEST(TextFile, RejectsWhatDoesNotDecode)
{
    EXPECT_FALSE(readBytes("abc\xFF"));
    EXPECT_FALSE(readBytes("abc\xC3"));          // cut-off sequence
    EXPECT_FALSE(readBytes("\xC0\xAF"));          // overlong
    EXPECT_FALSE(readBytes("\xED\xA0\x80"));      // encoded surrogate
    EXPECT_FALSE(readBytes("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(readBytes("\xEF\xBB\xBF\x80"));  // bad UTF-8 after a mark
    EXPECT_FALSE(readBytes(QByteArray("\xFF\xFE\x41", 3))); // odd UTF-16 length
    EXPECT_FALSE(readBytes(QByteArray("\0\0\xFE\xFF\0\0\0", 7)));
    EXPECT_FALSE(readBytes(QByteArray("\xFF\xFE\0\0\0\0\x11\0", 8))); // beyond U+10FFFF
    EXPECT_FALSE(readBytes(QByteArray("\0\0\xFE\xFF\0\0\xD8\0", 8)));   // a surrogate
    EXPECT_FALSE(TextFile::read(u"/nonexistent/verbalo/f.strings"_s));
    QTemporaryDir dir;
    EXPECT_FALSE(TextFile::read(dir.path()));
}

TEST(TextFile, WritesUtf8AtomicallyAndSkipsUnchangedFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.strings"_s);
    ASSERT_TRUE(TextFile::write(path, u"\n\u00E9"_s));
    EXPECT_EQ(readFile(path), QByteArray("\n\xC3\xA9"));

    const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(TextFile::write(path, u"\n\u00E9"_s));
    EXPECT_EQ(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    ASSERT_TRUE(TextFile::write(path, u"\n\u00E8"_s));
    EXPECT_EQ(readFile(path), QByteArray("\n\xC3\xA8"));
    EXPECT_NE(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());

    // No folders are created.
    EXPECT_FALSE(TextFile::write(dir.filePath(u"missing/b.strings"_s), u"x"_s));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"missing"_s)));
}
