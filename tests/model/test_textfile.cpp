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

TEST(TextFile, ReadsByteOrderMarksAndUtf8AndRejectsWhatDoesNotDecode)
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

    // Refused: UTF-8 bad, cut off, overlong, a surrogate, beyond U+10FFFF, bad after a mark;
    // UTF-16 of odd length; UTF-32 cut off, beyond U+10FFFF, a surrogate.
    for (const QByteArray &bytes :
         {QByteArray("abc\xFF"), QByteArray("abc\xC3"), QByteArray("\xC0\xAF"),
          QByteArray("\xED\xA0\x80"), QByteArray("\xF4\x90\x80\x80"),
          QByteArray("\xEF\xBB\xBF\x80"), QByteArray("\xFF\xFE\x41", 3),
          QByteArray("\0\0\xFE\xFF\0\0\0", 7), QByteArray("\xFF\xFE\0\0\0\0\x11\0", 8),
          QByteArray("\0\0\xFE\xFF\0\0\xD8\0", 8)})
        EXPECT_FALSE(readBytes(bytes)) << bytes.toHex().constData();
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
