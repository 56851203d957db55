// Whole-file reading with byte-order-mark detection and strict UTF-8 as the
// fallback, and atomic UTF-8 writing that leaves unchanged files alone.
#include "model/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

struct Bom
{
    const char *bytes;
    qsizetype size;
    QStringConverter::Encoding encoding;
};

// UTF-32 LE before UTF-16 LE: its mark starts with the UTF-16 LE mark.
const Bom kBoms[] = {
    {"\xEF\xBB\xBF", 3, QStringConverter::Utf8},
    {"\xFF\xFE\x00\x00", 4, QStringConverter::Utf32LE},
    {"\x00\x00\xFE\xFF", 4, QStringConverter::Utf32BE},
    {"\xFF\xFE", 2, QStringConverter::Utf16LE},
    {"\xFE\xFF", 2, QStringConverter::Utf16BE},
};

// Qt's decoder lets code points beyond U+10FFFF and surrogates through as
// replacement characters without reporting them.
std::optional<QString> decodeUtf32(QByteArrayView body, bool bigEndian)
{
    if (body.size() % 4 != 0)
        return std::nullopt;
    QString text;
    text.reserve(body.size() / 4);
    for (qsizetype i = 0; i < body.size(); i += 4) {
        char32_t code = 0;
        for (int k = 0; k < 4; ++k) {
            const char32_t byte = uchar(body[i + (bigEndian ? k : 3 - k)]);
            code = (code << 8) | byte;
        }
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

} // namespace

std::optional<QString> TextFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    QByteArrayView body(bytes);
    for (const Bom &bom : kBoms) {
        if (body.startsWith(QByteArrayView(bom.bytes, bom.size))) {
            encoding = bom.encoding;
            body = body.sliced(bom.size);
            break;
        }
    }
    if (encoding == QStringConverter::Utf32LE || encoding == QStringConverter::Utf32BE)
        return decodeUtf32(body, encoding == QStringConverter::Utf32BE);
    // Qt passes a cut-off last code unit silently; it is a decoding failure.
    if (encoding != QStringConverter::Utf8 && body.size() % 2 != 0)
        return std::nullopt;
    // The mark is already gone; a second one is text and must be kept.
    QStringDecoder decoder(encoding,
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool TextFile::write(const QString &path, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const QFileInfo info(path);
    if (info.isFile() && info.size() == bytes.size()) {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
            return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
