// Whole-file reading with encoding detection, and atomic writing. Only regular
// files are read or written.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// A file's text with the encoding it was read in, so that it can be written
// back the same way.
struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
};

class TextFile
{
public:
    // Files larger than this are refused: no localization file is that big,
    // and reading a device or a runaway file must not exhaust memory.
    static constexpr qint64 MaxFileSize = 256LL * 1024 * 1024;

    enum class Failure { None, Missing, NotRegular, TooLarge, Unreadable, Undecodable };

    // Reads the whole file (following links) when it is a regular file of at
    // most MaxFileSize bytes, and decodes it with decode(). On failure returns
    // nothing and, when asked, says why.
    static std::optional<DecodedText> readDecoded(const QString &path, Failure *failure = nullptr);
    // The same, reading a file larger than `pieceBytes` a piece at a time
    // when it is UTF-8, so that its bytes are never held whole beside their
    // text. readDecoded() reads so in pieces of a MiB; other sizes are for
    // tests of the pieces' edges.
    static std::optional<DecodedText> readDecoded(const QString &path, Failure *failure,
                                                  qsizetype pieceBytes);
    // The same checks and read, without decoding: for files of other formats.
    static std::optional<QByteArray> readBytes(const QString &path, Failure *failure = nullptr);
    static std::optional<QString> read(const QString &path);

    // A byte-order mark decides (UTF-8, UTF-16 LE/BE, UTF-32 LE/BE). Without
    // one, bytes without zeros must be valid UTF-8; bytes with zeros must be
    // UTF-16 whose byte order their zeros make plain, else nothing: a guess
    // could read a file as text it does not hold. Lone surrogates, and
    // decoded NUL characters without a mark, make the text undecodable.
    static std::optional<DecodedText> decode(QByteArrayView bytes);

    // The bytes of the text in the encoding, with a byte-order mark when asked.
    static QByteArray encode(const QString &text, TextEncoding encoding, bool byteOrderMark);

    // Writes the text atomically: a failure leaves the old file whole. A file
    // whose bytes already equal the new bytes is left untouched. A path that
    // exists but is not a regular file (a folder, a FIFO, a device) is
    // refused. Returns false when the file was not written.
    static bool write(const QString &path, const QString &text);
    static bool write(const QString &path, const QString &text, TextEncoding encoding, bool byteOrderMark);
    static bool writeBytes(const QString &path, const QByteArray &bytes);

    // Appends the text's UTF-8 form to `out`: ASCII runs are copied
    // sixteen units at a time, so building a large file costs little more
    // than its bytes.
    static void appendUtf8(QByteArray &out, QStringView text);

    // A one-line description of the failure, for logs and messages.
    static QString describe(Failure failure);
};
