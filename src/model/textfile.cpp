// Whole-file reading with byte-order-mark and zero-byte detection, and atomic
// writing that leaves unchanged files and non-regular files alone.
#include "model/textfile.h"

#include "model/piecewriter.h"
#include "model/utf8.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct Bom
{
    const char *bytes;
    qsizetype size;
    TextEncoding encoding;
};

// UTF-32 LE before UTF-16 LE: its mark starts with the UTF-16 LE mark.
const Bom kBoms[] = {
    {"\xEF\xBB\xBF", 3, TextEncoding::Utf8},
    {"\xFF\xFE\x00\x00", 4, TextEncoding::Utf32LE},
    {"\x00\x00\xFE\xFF", 4, TextEncoding::Utf32BE},
    {"\xFF\xFE", 2, TextEncoding::Utf16LE},
    {"\xFE\xFF", 2, TextEncoding::Utf16BE},
};

QByteArrayView bomOf(TextEncoding encoding)
{
    for (const Bom &bom : kBoms)
        if (bom.encoding == encoding)
            return QByteArrayView(bom.bytes, bom.size);
    return {};
}

// Qt's decoders let lone surrogates and code points beyond U+10FFFF through
// as replacement characters without reporting them, so both wide encodings
// are decoded here.
std::optional<QString> decodeUtf32(QByteArrayView body, bool bigEndian)
{
    if (body.size() % 4 != 0)
        return std::nullopt;
    QString text;
    text.reserve(body.size() / 4);
    for (qsizetype i = 0; i < body.size(); i += 4) {
        char32_t code = 0;
        for (int k = 0; k < 4; ++k)
            code = (code << 8) | uchar(body[i + (bigEndian ? k : 3 - k)]);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (QChar::requiresSurrogates(code)) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(char16_t(code)));
        }
    }
    return text;
}

std::optional<QString> decodeUtf16(QByteArrayView body, bool bigEndian)
{
    if (body.size() % 2 != 0)
        return std::nullopt;
    QString text(body.size() / 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    bool expectLow = false;
    for (qsizetype i = 0; i < body.size(); i += 2) {
        const uchar a = uchar(body[i]);
        const uchar b = uchar(body[i + 1]);
        const char16_t unit = bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (expectLow != low)
            return std::nullopt;
        expectLow = high;
        out[i / 2] = unit;
    }
    if (expectLow)
        return std::nullopt;
    return text;
}

// UTF-16 without a mark: the ASCII punctuation and letters of any .strings
// file put a zero into every other byte. The order is taken only when the
// zeros fall clearly on one side and the text decodes that way without NULs.
std::optional<DecodedText> decodeUnmarkedUtf16(QByteArrayView bytes)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    const qsizetype units = bytes.size() / 2;
    const auto clearly = [units](qsizetype zeros, qsizetype others) {
        return zeros >= 4 && zeros * 4 >= units && others * 8 <= zeros;
    };
    const bool little = clearly(oddZeros, evenZeros);
    const bool big = clearly(evenZeros, oddZeros);
    if (little == big)
        return std::nullopt;
    std::optional<QString> text = decodeUtf16(bytes, big);
    if (!text || text->contains(QChar(0)))
        return std::nullopt;
    return DecodedText{std::move(*text), big ? TextEncoding::Utf16BE : TextEncoding::Utf16LE, false};
}

} // namespace

std::optional<DecodedText> TextFile::decode(QByteArrayView bytes)
{
    for (const Bom &bom : kBoms) {
        if (!bytes.startsWith(QByteArrayView(bom.bytes, bom.size)))
            continue;
        const QByteArrayView body = bytes.sliced(bom.size);
        std::optional<QString> text;
        switch (bom.encoding) {
        case TextEncoding::Utf8: text = body.contains('\0') ? std::nullopt : Utf8::decode(body); break;
        case TextEncoding::Utf16LE: text = decodeUtf16(body, false); break;
        case TextEncoding::Utf16BE: text = decodeUtf16(body, true); break;
        case TextEncoding::Utf32LE: text = decodeUtf32(body, false); break;
        case TextEncoding::Utf32BE: text = decodeUtf32(body, true); break;
        }
        if (!text)
            return std::nullopt;
        return DecodedText{std::move(*text), bom.encoding, true};
    }
    if (!bytes.contains('\0')) {
        std::optional<QString> text = Utf8::decode(bytes);
        if (!text)
            return std::nullopt;
        return DecodedText{std::move(*text), TextEncoding::Utf8, false};
    }
    return decodeUnmarkedUtf16(bytes);
}

std::optional<QByteArray> TextFile::readBytes(const QString &path, Failure *failure)
{
    const auto fail = [failure](Failure why) -> std::optional<QByteArray> {
        if (failure)
            *failure = why;
        return std::nullopt;
    };
    if (failure)
        *failure = Failure::None;
    const QFileInfo info(path);
    if (!info.exists())
        return fail(info.isSymLink() ? Failure::NotRegular : Failure::Missing);
    if (!info.isFile())
        return fail(Failure::NotRegular);
    if (info.size() > MaxFileSize)
        return fail(Failure::TooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Failure::Unreadable);
    // Sized by the file, not by the limit: a buffer of the limit's size would
    // be mapped and cleared for every file read.
    const QByteArray bytes = file.read(std::min(file.size(), MaxFileSize) + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(Failure::Unreadable);
    if (bytes.size() > MaxFileSize)
        return fail(Failure::TooLarge);
    return bytes;
}

namespace {

// A large file's text, read a piece at a time into its string when the file
// is UTF-8 without zeros, as most are. Nothing for anything else (another
// encoding, bytes that are not UTF-8, a file that changed size or could not
// be read): the caller then reads the file whole, which tells those apart.
std::optional<DecodedText> readUtf8InPieces(const QString &path, qsizetype pieceBytes)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = file.size();
    if (size <= pieceBytes || size > TextFile::MaxFileSize)
        return std::nullopt;
    // No byte gives more than one unit.
    QString text(qsizetype(size), Qt::Uninitialized);
    auto *const start = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = start;
    // A sequence cut by a piece's end is carried to the front of the next.
    QByteArray buffer(pieceBytes + 3, Qt::Uninitialized);
    qsizetype carried = 0;
    qint64 total = 0;
    bool first = true;
    bool byteOrderMark = false;
    while (true) {
        const qint64 got = file.read(buffer.data() + carried, pieceBytes);
        if (got < 0)
            return std::nullopt;
        total += got;
        if (total > size)
            return std::nullopt;
        QByteArrayView piece(buffer.constData(), carried + qsizetype(got));
        if (got == 0) {
            // What is carried at the end is a sequence cut off.
            if (carried > 0 || total != size)
                return std::nullopt;
            break;
        }
        if (first) {
            // The marks are of up to four bytes.
            if (piece.size() < 4) {
                carried = piece.size();
                continue;
            }
            first = false;
            for (const Bom &bom : kBoms) {
                if (!piece.startsWith(QByteArrayView(bom.bytes, bom.size)))
                    continue;
                if (bom.encoding != TextEncoding::Utf8)
                    return std::nullopt;
                byteOrderMark = true;
                piece = piece.sliced(bom.size);
                break;
            }
        }
        if (piece.contains('\0'))
            return std::nullopt;
        const qsizetype whole = Utf8::wholeLength(piece);
        out = Utf8::decodeInto(piece.first(whole), out);
        if (!out)
            return std::nullopt;
        carried = piece.size() - whole;
        std::memmove(buffer.data(), piece.data() + whole, size_t(carried));
    }
    text.truncate(out - start);
    return DecodedText{std::move(text), TextEncoding::Utf8, byteOrderMark};
}

} // namespace

std::optional<DecodedText> TextFile::readDecoded(const QString &path, Failure *failure)
{
    return readDecoded(path, failure, 1024 * 1024);
}

std::optional<DecodedText> TextFile::readDecoded(const QString &path, Failure *failure,
                                                 qsizetype pieceBytes)
{
    if (std::optional<DecodedText> text = readUtf8InPieces(path, pieceBytes)) {
        if (failure)
            *failure = Failure::None;
        return text;
    }
    const std::optional<QByteArray> bytes = readBytes(path, failure);
    if (!bytes)
        return std::nullopt;
    std::optional<DecodedText> text = decode(*bytes);
    if (!text && failure)
        *failure = Failure::Undecodable;
    return text;
}

std::optional<QString> TextFile::read(const QString &path)
{
    std::optional<DecodedText> decoded = readDecoded(path);
    if (!decoded)
        return std::nullopt;
    return std::move(decoded->text);
}

QByteArray TextFile::encode(const QString &text, TextEncoding encoding, bool byteOrderMark)
{
    QByteArray bytes;
    if (byteOrderMark)
        bytes = bomOf(encoding).toByteArray();
    switch (encoding) {
    case TextEncoding::Utf8:
        bytes += text.toUtf8();
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
    case TextEncoding::Utf32LE:
    case TextEncoding::Utf32BE: {
        const auto qt = encoding == TextEncoding::Utf16LE   ? QStringConverter::Utf16LE
                        : encoding == TextEncoding::Utf16BE ? QStringConverter::Utf16BE
                        : encoding == TextEncoding::Utf32LE ? QStringConverter::Utf32LE
                                                            : QStringConverter::Utf32BE;
        QStringEncoder encoder(qt, QStringConverter::Flag::Stateless);
        bytes += QByteArray(encoder.encode(text));
        break;
    }
    }
    return bytes;
}

void TextFile::appendUtf8(QByteArray &out, QStringView text)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype run = i;
#if defined(__SSE2__)
        const __m128i high = _mm_set1_epi16(short(0xFF80));
        while (run + 8 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + run));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128())) != 0xFFFF)
                break;
            run += 8;
        }
#endif
        while (run < n && units[run] < 0x80)
            ++run;
        if (run > i) {
            const qsizetype at = out.size();
            out.resize(at + run - i);
            char *to = out.data() + at;
            for (qsizetype k = i; k < run; ++k)
                *to++ = char(units[k]);
            i = run;
        }
        if (i < n) {
            qsizetype end = i;
            while (end < n && units[end] >= 0x80)
                ++end;
            out += text.sliced(i, end - i).toUtf8();
            i = end;
        }
    }
}

bool TextFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    PieceWriter writer(path);
    return writer.append(bytes) && writer.finish();
}

bool TextFile::write(const QString &path, const QString &text)
{
    return writeBytes(path, text.toUtf8());
}

bool TextFile::write(const QString &path, const QString &text, TextEncoding encoding, bool byteOrderMark)
{
    return writeBytes(path, encode(text, encoding, byteOrderMark));
}

QString TextFile::describe(Failure failure)
{
    switch (failure) {
    case Failure::None: return QString();
    case Failure::Missing: return QCoreApplication::translate("TextFile", "no such file");
    case Failure::NotRegular: return QCoreApplication::translate("TextFile", "not a regular file");
    case Failure::TooLarge: return QCoreApplication::translate("TextFile", "larger than 256 MiB");
    case Failure::Unreadable: return QCoreApplication::translate("TextFile", "cannot be read");
    case Failure::Undecodable: return QCoreApplication::translate("TextFile", "its encoding is not recognised");
    }
    return QString();
}
