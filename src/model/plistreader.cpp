// The old-style property-list reader for .strings files.
#include "model/plistreader.h"

#include "model/heldtext.h"
#include "model/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

class Parser
{
public:
    explicit Parser(QStringView text) : m_text(text) {}

    bool run()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == QChar(0xFEFF))
            ++m_pos;
        if (!skipBlank())
            return false;
        bool braced = false;
        if (peek() == u'{') {
            braced = true;
            ++m_pos;
        }
        for (;;) {
            if (!skipBlank())
                return false;
            if (atEnd())
                return !braced;
            if (braced && peek() == u'}') {
                ++m_pos;
                return skipBlank() && atEnd();
            }
            if (!readPair())
                return false;
        }
    }

    QList<PlistPair> &pairs() { return m_pairs; }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? 0 : m_text[m_pos].unicode(); }

    // White space and comments; false on an unterminated block comment.
    bool skipBlank()
    {
        while (!atEnd()) {
            const char16_t c = m_text[m_pos].unicode();
            if (PlistReader::isBlank(c)) {
                ++m_pos;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'*') {
                const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
                if (end < 0)
                    return false;
                m_commentStart = m_pos;
                m_commentEnd = end + 2;
                m_pos = end + 2;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'/') {
                m_pos += 2;
                while (!atEnd()) {
                    const char16_t e = m_text[m_pos].unicode();
                    if (e == u'\n' || e == u'\r' || e == 0x2028 || e == 0x2029)
                        break;
                    ++m_pos;
                }
                m_commentStart = m_commentEnd = -1;
            } else {
                break;
            }
        }
        return true;
    }

    bool readPair()
    {
        PlistPair pair;
        // Only a comment followed by nothing but white space belongs to the key.
        if (m_commentEnd >= 0) {
            bool blankBetween = true;
            for (qsizetype i = m_commentEnd; i < m_pos && blankBetween; ++i)
                blankBetween = PlistReader::isBlank(m_text[i].unicode());
            if (blankBetween) {
                pair.commentStart = m_commentStart;
                pair.commentEnd = m_commentEnd;
            }
        }
        m_commentStart = m_commentEnd = -1;
        pair.keyStart = m_pos;
        pair.keyQuote = quoteAt(m_pos);
        auto key = readString();
        if (!key)
            return false;
        pair.keyEnd = m_pos;
        if (!skipBlank())
            return false;
        if (peek() == u';') {
            pair.shorthand = true;
            pair.value = *key;
            pair.valueStart = pair.keyStart;
            pair.valueEnd = pair.keyEnd;
            pair.valueQuote = pair.keyQuote;
        } else {
            if (peek() != u'=')
                return false;
            ++m_pos;
            if (!skipBlank())
                return false;
            pair.valueStart = m_pos;
            pair.valueQuote = quoteAt(m_pos);
            auto text = readString();
            if (!text)
                return false;
            pair.valueEnd = m_pos;
            if (!skipBlank() || peek() != u';')
                return false;
            pair.value = std::move(*text);
        }
        ++m_pos;
        pair.end = m_pos;
        pair.key = std::move(*key);
        m_commentStart = m_commentEnd = -1;
        m_pairs.append(std::move(pair));
        return true;
    }

    char16_t quoteAt(qsizetype i) const
    {
        const char16_t c = i < m_text.size() ? m_text[i].unicode() : 0;
        return c == u'"' || c == u'\'' ? c : 0;
    }

    std::optional<QString> readString()
    {
        const char16_t c = peek();
        if (c == u'"' || c == u'\'')
            return readQuoted(c);
        const qsizetype start = m_pos;
        while (!atEnd() && PlistReader::isUnquotedCharacter(m_text[m_pos].unicode()))
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
            qsizetype stop = m_pos;
            while (stop < m_text.size() && m_text[stop] != quote && m_text[stop] != u'\\')
                ++stop;
            out.append(m_text.sliced(m_pos, stop - m_pos));
            m_pos = stop;
            if (atEnd())
                return std::nullopt;
            if (m_text[m_pos] == quote) {
                ++m_pos;
                return out;
            }
            // A backslash that ends the text leaves the string open.
            if (m_pos + 1 >= m_text.size())
                return std::nullopt;
            m_pos += HeldText::appendUnescaped(m_text, m_pos, out);
        }
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_commentStart = -1;
    qsizetype m_commentEnd = -1;
    QList<PlistPair> m_pairs;
};

} // namespace

std::optional<PlistStrings> PlistReader::readFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return std::nullopt;
    const QByteArray bytes = file.read(std::min(file.size(), MaxFileSize) + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return std::nullopt;
    return parse(bytes);
}

std::optional<PlistStrings> PlistReader::parse(const QByteArray &bytes)
{
    const std::optional<DecodedText> decoded = TextFile::decode(bytes);
    if (!decoded)
        return std::nullopt;
    return parseText(decoded->text);
}

std::optional<QList<PlistPair>> PlistReader::parsePairs(QStringView text)
{
    Parser parser(text);
    if (!parser.run())
        return std::nullopt;
    return std::move(parser.pairs());
}

std::optional<PlistStrings> PlistReader::parseText(QStringView text)
{
    std::optional<QList<PlistPair>> pairs = parsePairs(text);
    if (!pairs)
        return std::nullopt;
    PlistStrings result;
    QHash<QString, qsizetype> index;
    for (PlistPair &pair : *pairs) {
        const auto it = index.constFind(pair.key);
        if (it != index.constEnd()) {
            result[*it].second = std::move(pair.value);
            continue;
        }
        index.insert(pair.key, result.size());
        result.append({std::move(pair.key), std::move(pair.value)});
    }
    return result;
}
