// TextFile and PieceWriter: encoding detection on read, and atomic writes that leave
// unchanged files and missing folders alone (a write into a read-only folder
// is checked through ProjectSave).
#include "model/piecewriter.h"
#include "model/textfile.h"
#include "model/utf8.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
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

// The decoder against Qt's on random mixes of ASCII runs (long enough for
// the vector loop), well-formed characters and every kind of bad sequence,
// at every position relative to a sixteen-byte boundary.
TEST(TextFile, Utf8DecodingAgreesWithQtOnWhatItAcceptsAndGives)
{
    const QList<QByteArray> pieces = {
        "a",         "0123456789abcdefghij", "\"k\" = \"v\";\n", "\xC3\xA9",     "\xC3\x9F",
        "\xE2\x80\xA8", "\xEF\xBB\xBF",         "\xEF\xBF\xBF",          "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
        "\xDF\xBF",   "\xE0\xA0\x80",         "\xC2",                  "\xE2\x80",     "\xF0\x9F\x98",
        "\x80",      "\xBF",                 "\xC0\x80",              "\xC1\xBF",     "\xE0\x9F\xBF",
        "\xED\xA0\x80", "\xED\xBF\xBF",         "\xF0\x8F\xBF\xBF",      "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
        "\xFE",      "\xFF",                 "\x7F",                  "\xC3\x28",     "\xE2\x28\xA1"};
    QRandomGenerator random(20261207);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        const int count = int(random.bounded(12));
        // Mostly well-formed, so that acceptance is tested as much as refusal.
        const int kinds = random.bounded(2) ? 12 : int(pieces.size());
        for (int i = 0; i < count; ++i)
            bytes += pieces.at(random.bounded(kinds));
        QStringDecoder qt(QStringConverter::Utf8, QStringConverter::Flag::Stateless
                                                      | QStringConverter::Flag::ConvertInitialBom);
        const QString expected = qt.decode(bytes);
        const std::optional<QString> decoded = Utf8::decode(bytes);
        ASSERT_EQ(decoded.has_value(), !qt.hasError()) << bytes.toHex().constData();
        if (decoded) {
            ASSERT_EQ(*decoded, expected) << bytes.toHex().constData();
            ++accepted;
        }
    }
    EXPECT_GT(accepted, 5000);

    // Read in pieces of a few bytes, which cut sequences, marks and runs at
    // every place, a file reads as it does whole, or is read whole.
    const QList<QByteArray> starts = {"",
                                      "\xEF\xBB\xBF",
                                      "\xEF\xBB",
                                      "\xFF\xFE",
                                      "\xFE\xFF",
                                      QByteArray("\xFF\xFE\0\0", 4),
                                      QByteArray("\0", 1)};
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.strings"_s);
    int utf8Read = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = starts.at(random.bounded(int(starts.size())));
        const int kinds = random.bounded(4) ? 12 : int(pieces.size());
        for (int i = int(random.bounded(16)); i > 0; --i)
            bytes += pieces.at(random.bounded(kinds));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        TextFile::Failure wholeFailure;
        TextFile::Failure pieceFailure;
        const auto whole = TextFile::readDecoded(path, &wholeFailure, 1 << 20);
        const auto inPieces = TextFile::readDecoded(path, &pieceFailure, 1 + random.bounded(7));
        ASSERT_EQ(inPieces.has_value(), whole.has_value()) << bytes.toHex().constData();
        ASSERT_EQ(pieceFailure, wholeFailure);
        if (whole) {
            ASSERT_EQ(inPieces->text, whole->text) << bytes.toHex().constData();
            ASSERT_EQ(inPieces->encoding, whole->encoding);
            ASSERT_EQ(inPieces->byteOrderMark, whole->byteOrderMark);
            utf8Read += whole->encoding == TextEncoding::Utf8 ? 1 : 0;
        }
    }
    EXPECT_GT(utf8Read, 400);
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

TEST(PieceWriter, WritesWhatThePiecesHoldAndOnlyWhenTheyDifferFromTheFile)
{
    // Larger than the slices the old file is compared and copied in.
    QRandomGenerator random(5);
    QByteArray old(5 * 512 * 1024 + 17, Qt::Uninitialized);
    for (char &c : old)
        c = char(random.bounded(256));
    const auto changedAt = [&](qsizetype at) {
        QByteArray changed = old;
        changed[at] = char(changed.at(at) ^ 1);
        return changed;
    };
    struct Case
    {
        const char *name;
        std::optional<QByteArray> before; // none: no file
        QByteArray after;
    };
    const QList<Case> cases = {
        {"the same", old, old},
        {"one byte more", old, old + 'x'},
        {"one byte less", old, old.chopped(1)},
        {"a change past the first slices", old, changedAt(old.size() - 100)},
        {"a change at the start", old, changedAt(0)},
        {"a new file", std::nullopt, old},
        {"empty, as it was", QByteArray(), QByteArray()},
        {"a new empty file", std::nullopt, QByteArray()},
    };
    const QDateTime stamp = QDateTime::currentDateTime().addSecs(-3600);
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a.strings"_s);
        if (c.before) {
            writeFile(dir.path(), u"a.strings"_s, *c.before);
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        {
            // Left unfinished, it writes nothing.
            PieceWriter abandoned(path);
            abandoned.append(QByteArrayView(c.after).first(c.after.size() / 2));
            abandoned.append("different");
        }
        EXPECT_EQ(QFileInfo::exists(path), c.before.has_value()) << c.name;
        PieceWriter writer(path);
        for (qsizetype at = 0; at < c.after.size();) {
            const qsizetype size = std::min<qsizetype>(c.after.size() - at, random.bounded(1, 300000));
            ASSERT_TRUE(writer.append(QByteArrayView(c.after).sliced(at, size))) << c.name;
            at += size;
        }
        ASSERT_TRUE(writer.finish()) << c.name;
        EXPECT_EQ(readFile(path), c.after) << c.name;
        const bool untouched = QFileInfo(path).lastModified().toSecsSinceEpoch() == stamp.toSecsSinceEpoch();
        EXPECT_EQ(untouched, c.before == c.after) << c.name;
    }

    QTemporaryDir dir;
    PieceWriter folder(dir.path());
    EXPECT_FALSE(folder.append("x"));
    EXPECT_FALSE(folder.finish());
}
