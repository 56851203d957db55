// The old-style property-list reader for .strings files.
#include "plistreader.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace {

std::optional<QString> decodeStrict(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        return std::nullopt;
    return text;
}

// UTF-8 never holds a zero byte in text, while UTF-16 of the ASCII quotes,
// equals signs and semicolons of any .strings file always does: the side on
// which the zeros fall gives the byte order.
std::optional<QString> decodeBytes(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeStrict(QStringDecoder::Utf8, view.sliced(3));
    if (view.startsWith("\xFF\xFE"))
        return decodeStrict(QStringDecoder::Utf16LE, view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return decodeStrict(QStringDecoder::Utf16BE, view.sliced(2));
    if (!view.contains('\0'))
        return decodeStrict(QStringDecoder::Utf8, view);
    if (view.size() % 2 != 0)
        return std::nullopt;
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view[i] == '\0')
            (i % 2 == 0 ? evenZeros : oddZeros)++;
    }
    const auto first = oddZeros >= evenZeros ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE;
    const auto second = first == QStringDecoder::Utf16LE ? QStringDecoder::Utf16BE
                                                         : QStringDecoder::Utf16LE;
    if (auto text = decodeStrict(first, view))
        return text;
    return decodeStrict(second, view);
}

bool isUnquotedCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
           || u == '$' || u == '/' || u == ':' || u == '.' || u == '-';
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    std::optional<PlistStrings> run()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == QChar(0xFEFF))
            ++m_pos;
        if (!skipBlank())
            return std::nullopt;
        bool braced = false;
        if (peek() == u'{') {
            braced = true;
            ++m_pos;
        }
        for (;;) {
            if (!skipBlank())
                return std::nullopt;
            if (atEnd()) {
                if (braced)
                    return std::nullopt;
                break;
            }
            if (braced && peek() == u'}') {
                ++m_pos;
                if (!skipBlank() || !atEnd())
                    return std::nullopt;
                break;
            }
            if (!readPair())
                return std::nullopt;
        }
        return std::move(m_result);
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? 0 : m_text[m_pos].unicode(); }

    // White space and comments; false on an unterminated block comment.
    bool skipBlank()
    {
        while (!atEnd()) {
            const QChar c = m_text[m_pos];
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'*') {
                const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
                if (end < 0)
                    return false;
                m_pos = end + 2;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'/') {
                m_pos += 2;
                while (!atEnd() && m_text[m_pos] != u'\n' && m_text[m_pos] != u'\r')
                    ++m_pos;
            } else {
                break;
            }
        }
        return true;
    }

    bool readPair()
    {
        auto key = readString();
        if (!key || !skipBlank())
            return false;
        QString value;
        if (peek() == u';') {
            // `"key";` is the strings-file shorthand for a text equal to its key.
            value = *key;
        } else {
            if (peek() != u'=')
                return false;
            ++m_pos;
            if (!skipBlank())
                return false;
            auto text = readString();
            if (!text || !skipBlank())
                return false;
            value = std::move(*text);
            if (peek() != u';')
                return false;
        }
        ++m_pos;
        store(std::move(*key), std::move(value));
        return true;
    }

    void store(QString key, QString value)
    {
        const auto it = m_index.constFind(key);
        if (it != m_index.constEnd()) {
            m_result[*it].second = std::move(value);
            return;
        }
        m_index.insert(key, m_result.size());
        m_result.append({std::move(key), std::move(value)});
    }

    std::optional<QString> readString()
    {
        const char16_t c = peek();
        if (c == u'"' || c == u'\'')
            return readQuoted(c);
        const qsizetype start = m_pos;
        while (!atEnd() && isUnquotedCharacter(m_text[m_pos]))
            ++m_pos;
        if (m_pos == start)
            return std::nullopt;
        return m_text.sliced(start, m_pos - start).toString();
    }

    std::optional<QString> readQuoted(char16_t quote)
    {
        ++m_pos;
        QString out;
        for (;;) {
            if (atEnd())
                return std::nullopt;
            const qsizetype stop = nextSpecial(quote);
            out.append(m_text.sliced(m_pos, stop - m_pos));
            m_pos = stop;
            if (atEnd())
                return std::nullopt;
            if (m_text[m_pos] == quote) {
                ++m_pos;
                return out;
            }
            ++m_pos; // the backslash
            if (atEnd())
                return std::nullopt;
            const QChar e = m_text[m_pos++];
            switch (e.unicode()) {
            case u'n':
                out.append(u'\n');
                break;
            case u't':
                out.append(u'\t');
                break;
            case u'U': {
                int value = 0;
                int digits = 0;
                while (digits < 4 && !atEnd() && hexValue(m_text[m_pos]) >= 0) {
                    value = value * 16 + hexValue(m_text[m_pos++]);
                    ++digits;
                }
                out.append(digits ? QChar(char16_t(value)) : e);
                break;
            }
            default:
                out.append(e);
                break;
            }
        }
    }

    qsizetype nextSpecial(char16_t quote) const
    {
        qsizetype i = m_pos;
        while (i < m_text.size() && m_text[i] != quote && m_text[i] != u'\\')
            ++i;
        return i;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    PlistStrings m_result;
    QHash<QString, qsizetype> m_index;
};

} // namespace

std::optional<PlistStrings> PlistReader::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return std::nullopt;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return std::nullopt;
    return parse(bytes);
}

std::optional<PlistStrings> PlistReader::parse(const QByteArray &bytes)
{
    const auto text = decodeBytes(bytes);
    if (!text)
        return std::nullopt;
    return parseText(*text);
}

std::optional<PlistStrings> PlistReader::parseText(QStringView text)
{
    return Parser(text).run();
}
