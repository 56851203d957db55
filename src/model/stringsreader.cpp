// A hand-written matcher for the entry grammar of .strings files. It finds the
// same entries as a backtracking search for the pattern
//   (?:\s*/\*(body)\*+/\s*)?\s*^\s*"(key)"\s*=\s*"(value)"\s*;\s*$
// (multi-line anchors; key and value any characters but line terminators;
// "\s" is Unicode White_Space), but in time linear in the text's length.
//
// How the search behaves, and what this file relies on:
// - A search from position s skips white space to the first other character
//   p. Every start in [s, p] yields the same outcome, except that the line
//   anchor gets harder to meet, so after a failure the search resumes at p+1.
// - A comment opened at p closes at the first "*/" whose star lies after the
//   opening "/*"; its body excludes the final run of stars. It attaches only
//   when the next non-space after it is a key quote and a line break lies in
//   between. Every opener with the same close shares that outcome, which is
//   cached so nested openers cost nothing.
// - A key's opening quote is the first non-space of its line. The key ends at
//   the rightmost quote of that line that is followed by space, "=", space and
//   a value quote whose line holds a fitting closing quote.
// - A line holds at most one quote that can close a value: the last
//   non-space before a final ";" (rest of line blank), or the line's last
//   non-space when only white space and then a line whose first non-space is
//   ";" (rest blank) follow.
// - The match ends at the last line end of the white space after ";": before
//   a terminator (not between CR and LF) or at the end of the text.
#include "model/stringsreader.h"

namespace {

bool isLineTerminator(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isWhiteSpace(char16_t c)
{
    if (c <= 0x20)
        return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0x85)
        return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A)
        || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

struct EntryMatch
{
    qsizetype keyEnd = -1;     // closing quote of the key
    qsizetype valueStart = -1; // opening quote of the value
    qsizetype valueEnd = -1;   // closing quote of the value
    qsizetype end = -1;        // end of the whole match
};

class Matcher
{
public:
    explicit Matcher(QStringView text) : m_text(text), m_n(text.size()) {}

    QList<Entry> run();

private:
    char16_t at(qsizetype i) const { return m_text[i].unicode(); }

    qsizetype skipWhiteSpace(qsizetype i, bool *sawTerminator = nullptr) const
    {
        bool saw = false;
        while (i < m_n && isWhiteSpace(at(i))) {
            saw = saw || isLineTerminator(at(i));
            ++i;
        }
        if (sawTerminator)
            *sawTerminator = saw;
        return i;
    }

    qsizetype lineEnd(qsizetype i) const
    {
        while (i < m_n && !isLineTerminator(at(i)))
            ++i;
        return i;
    }

    qsizetype findClose(qsizetype from);
    qsizetype closingQuote(qsizetype lineStart, qsizetype lineEnd) const;
    bool matchEntry(qsizetype quote, EntryMatch &match) const;
    qsizetype matchEnd(qsizetype afterSemicolon) const;

    QStringView m_text;
    qsizetype m_n;
    // Last close search: the first "*/" at or after m_closeFrom is m_close
    // (-1: none up to the end of the text).
    qsizetype m_closeFrom = -1;
    qsizetype m_close = -1;
};

qsizetype Matcher::findClose(qsizetype from)
{
    if (m_closeFrom >= 0 && from >= m_closeFrom && (m_close < 0 || from <= m_close))
        return m_close;
    qsizetype i = from;
    while (i + 1 < m_n && !(at(i) == u'*' && at(i + 1) == u'/'))
        ++i;
    m_closeFrom = from;
    m_close = i + 1 < m_n ? i : -1;
    return m_close;
}

// The one quote of the line part [lineStart, end) after which '"\s*;\s*$' can
// match, or -1. Only white space may precede lineStart on its line.
qsizetype Matcher::closingQuote(qsizetype lineStart, qsizetype end) const
{
    qsizetype last = end - 1;
    while (last >= lineStart && isWhiteSpace(at(last)))
        --last;
    if (last < lineStart)
        return -1;
    if (at(last) == u';') {
        qsizetype before = last - 1;
        while (before >= lineStart && isWhiteSpace(at(before)))
            --before;
        return before >= lineStart && at(before) == u'"' ? before : -1;
    }
    if (at(last) != u'"')
        return -1;
    const qsizetype semicolon = skipWhiteSpace(end);
    if (semicolon >= m_n || at(semicolon) != u';')
        return -1;
    const qsizetype rest = skipWhiteSpace(semicolon + 1);
    // The white space after ';' must reach a line end or the end of the text.
    bool lineBreak = rest >= m_n;
    for (qsizetype i = semicolon + 1; !lineBreak && i < rest; ++i)
        lineBreak = isLineTerminator(at(i));
    return lineBreak ? last : -1;
}

// The key line starting with the quote at 'quote': key, value and end.
bool Matcher::matchEntry(qsizetype quote, EntryMatch &match) const
{
    const qsizetype end = lineEnd(quote + 1);
    qsizetype sameLineClose = -2; // -2: not yet computed
    for (qsizetype k = end - 1; k > quote; --k) {
        if (at(k) != u'"')
            continue;
        const qsizetype equals = skipWhiteSpace(k + 1);
        if (equals >= m_n || at(equals) != u'=')
            continue;
        const qsizetype open = skipWhiteSpace(equals + 1);
        if (open >= m_n || at(open) != u'"')
            continue;
        qsizetype close;
        if (open < end) {
            if (sameLineClose == -2)
                sameLineClose = closingQuote(quote, end);
            close = sameLineClose;
        } else {
            close = closingQuote(open, lineEnd(open + 1));
        }
        if (close <= open)
            continue;
        match.keyEnd = k;
        match.valueStart = open;
        match.valueEnd = close;
        match.end = matchEnd(skipWhiteSpace(close + 1) + 1);
        return true;
    }
    return false;
}

// The last position in the white space after ';' where '$' holds.
qsizetype Matcher::matchEnd(qsizetype afterSemicolon) const
{
    const qsizetype rest = skipWhiteSpace(afterSemicolon);
    if (rest >= m_n)
        return m_n;
    for (qsizetype i = rest - 1; i >= afterSemicolon; --i) {
        if (isLineTerminator(at(i)) && !(at(i) == u'\n' && i > 0 && at(i - 1) == u'\r'))
            return i;
    }
    return -1;
}

QList<Entry> Matcher::run()
{
    QList<Entry> entries;
    // A comment closing here attached to nothing; neither will any opener
    // inside it, as they all share the close.
    qsizetype failedClose = -1;
    qsizetype s = 0;
    while (true) {
        bool sawTerminator = false;
        const qsizetype p = skipWhiteSpace(s, &sawTerminator);
        if (p >= m_n)
            break;
        EntryMatch match;
        qsizetype bodyStart = -1;
        qsizetype bodyEnd = -1;
        qsizetype keyQuote = -1;
        bool found = false;
        if (at(p) == u'/' && p + 1 < m_n && at(p + 1) == u'*') {
            const qsizetype close = findClose(p + 2);
            if (close >= 0 && close != failedClose) {
                bool brokeLine = false;
                const qsizetype quote = skipWhiteSpace(close + 2, &brokeLine);
                if (brokeLine && quote < m_n && at(quote) == u'"' && matchEntry(quote, match)) {
                    found = true;
                    bodyStart = p + 2;
                    bodyEnd = close;
                    while (bodyEnd > bodyStart && at(bodyEnd - 1) == u'*')
                        --bodyEnd;
                    keyQuote = quote;
                } else {
                    failedClose = close;
                }
            }
        } else if (at(p) == u'"') {
            const bool lineStart = s == 0 || isLineTerminator(at(s - 1)) || sawTerminator;
            if (lineStart && matchEntry(p, match)) {
                found = true;
                keyQuote = p;
            }
        }
        if (!found) {
            s = p + 1;
            continue;
        }
        const QStringView value = m_text.sliced(match.valueStart + 1, match.valueEnd - match.valueStart - 1);
        if (!value.isEmpty()) {
            Entry entry;
            entry.key = m_text.sliced(keyQuote + 1, match.keyEnd - keyQuote - 1).toString();
            entry.value = value.toString();
            if (bodyEnd > bodyStart)
                entry.comment = m_text.sliced(bodyStart, bodyEnd - bodyStart).toString();
            entries.append(std::move(entry));
        }
        s = match.end;
    }
    return entries;
}

} // namespace

QList<Entry> StringsReader::parse(QStringView text)
{
    return Matcher(text).run();
}
