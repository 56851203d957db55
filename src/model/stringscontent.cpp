// Reconciling the line rules with the property-list grammar. Most files need
// only the line rules: when everything between their entries is white space
// or block comments and every key and value is one whole quoted string, the
// grammar can find nothing more, and it is not run.
#include "model/stringscontent.h"

#include "model/heldtext.h"
#include "model/plistreader.h"
#include "model/stringswriter.h"


#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isLineRuleSpace(char16_t c)
{
    if (c < 0x80)
        return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028
           || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// The first quote or backslash in [i, n), or n.
qsizetype nextQuoteOrBackslash(const char16_t *text, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi16(u'"');
    const __m128i backslash = _mm_set1_epi16(u'\\');
    const auto hits = [&](qsizetype at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        return _mm_or_si128(_mm_cmpeq_epi16(v, quote), _mm_cmpeq_epi16(v, backslash));
    };
    for (; i + 16 <= n; i += 16) {
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(hits(i), hits(i + 8))));
        if (mask != 0)
            return i + std::countr_zero(mask);
    }
#endif
    while (i < n && text[i] != u'"' && text[i] != u'\\')
        ++i;
    return i;
}

// Whether the grammar reads the quoted text [from, to) as one string that
// ends at its closing quote: no quote unescaped, no backslash escaping it.
bool isWholeString(const char16_t *text, qsizetype from, qsizetype to)
{
    for (qsizetype i = nextQuoteOrBackslash(text, from, to); i < to; i = nextQuoteOrBackslash(text, i, to)) {
        if (text[i] == u'"')
            return false;
        i += 2;
        if (i > to)
            return false;
    }
    return true;
}

// Skips white space and comments from i; returns where other text starts, or
// the text's end. An unclosed block comment runs to the end.
qsizetype skipQuiet(QStringView text, qsizetype i, qsizetype end, bool lineComments)
{
    while (i < end) {
        const char16_t c = text[i].unicode();
        if (isLineRuleSpace(c)) {
            ++i;
        } else if (c == u'/' && i + 1 < end && text[i + 1] == u'*') {
            const qsizetype close = text.indexOf(u"*/", i + 2);
            i = close < 0 || close + 2 > end ? end : close + 2;
        } else if (lineComments && c == u'/' && i + 1 < end && text[i + 1] == u'/') {
            while (i < end && text[i] != u'\n' && text[i] != u'\r' && text[i] != QChar(0x2028)
                   && text[i] != QChar(0x2029))
                ++i;
        } else {
            break;
        }
    }
    return i;
}

int lineOf(QStringView text, qsizetype position)
{
    return int(text.first(std::min(position, text.size())).count(u'\n')) + 1;
}

QString describeAt(QStringView text, qsizetype position, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(lineOf(text, position)).arg(what);
}

// The held form of a grammar token, which is what the writer writes for it:
// as written when it is bare or in double quotes, but with line breaks as
// escapes (so a value over several lines is held as one line, and a key
// spelled over two lines is the same row as the key spelled with "\n"); a
// text in single quotes as its escaped text.
QString heldToken(QStringView text, qsizetype start, qsizetype end, char16_t quote, const QString &plain)
{
    if (quote == 0)
        return text.sliced(start, end - start).toString();
    if (quote == u'"')
        return StringsWriter::escapeKey(text.sliced(start + 1, end - start - 2).toString());
    return StringsWriter::escapeKey(HeldText::fromPlain(plain));
}

} // namespace

StringsContent StringsContent::read(QStringView text)
{
    StringsContent content;
    if (text.size() > StringsReader::MaxUnits) {
        content.complete = false;
        content.problem = QStringLiteral("the text is too long");
        return content;
    }
    content.entries = StringsReader::parse(text, content.spans);

    const char16_t *chars = text.utf16();
    bool quiet = true;
    qsizetype from = 0;
    for (const EntrySpan &span : content.spans) {
        // Most gaps are a line break or two.
        while (from < span.start && (chars[from] == u'\n' || chars[from] == u'\r'))
            ++from;
        if ((from < span.start && skipQuiet(text, from, span.start, false) < span.start)
            || (!span.plain
                && (!isWholeString(chars, span.keyStart, span.keyEnd)
                    || !isWholeString(chars, span.valueStart, span.valueEnd)))) {
            quiet = false;
            break;
        }
        from = span.end;
    }
    if (quiet && skipQuiet(text, from, text.size(), false) == text.size())
        return content;

    const std::optional<QList<PlistPair>> pairs = PlistReader::parsePairs(text);
    if (!pairs) {
        // The grammar reads no pair at all; only what the line rules read can
        // be kept, and a rewrite would drop the rest.
        from = 0;
        for (qsizetype i = 0; i <= qsizetype(content.spans.size()); ++i) {
            const qsizetype to = i < qsizetype(content.spans.size()) ? content.spans[size_t(i)].start : text.size();
            const qsizetype other = skipQuiet(text, from, to, true);
            if (other < to) {
                content.complete = false;
                content.problem = describeAt(text, other, QStringLiteral("text that is not an entry"));
                break;
            }
            if (i < qsizetype(content.spans.size()))
                from = content.spans[size_t(i)].end;
        }
        return content;
    }

    struct Placed
    {
        qsizetype position;
        qsizetype index; // into content's entries, or -1 - index into added
    };
    std::vector<Placed> order;
    order.reserve(content.spans.size() + size_t(pairs->size()));
    for (qsizetype i = 0; i < qsizetype(content.spans.size()); ++i)
        order.push_back({content.spans[size_t(i)].keyStart - 1, i});
    QList<Entry> added;
    std::vector<EntrySpan> addedSpans;

    size_t next = 0;
    for (const PlistPair &pair : *pairs) {
        while (next < content.spans.size() && content.spans[next].end <= pair.keyStart)
            ++next;
        if (next < content.spans.size()) {
            const EntrySpan &span = content.spans[next];
            const qsizetype quote = span.keyStart - 1;
            if (quote == pair.keyStart) {
                const bool same = pair.keyQuote == u'"' && pair.valueQuote == u'"' && !pair.shorthand
                                  && pair.keyEnd == span.keyEnd + 1 && pair.valueStart == span.valueStart - 1
                                  && pair.valueEnd == span.valueEnd + 1 && pair.end == span.end;
                if (!same) {
                    content.complete = false;
                    content.problem = describeAt(text, pair.keyStart,
                                                 QStringLiteral("an entry that reads differently as a property list"));
                }
                ++next;
                continue;
            }
            if (quote < pair.end) {
                content.complete = false;
                content.problem = describeAt(text, pair.keyStart,
                                             QStringLiteral("entries that read differently as a property list"));
                continue;
            }
        }
        Entry entry;
        entry.key = heldToken(text, pair.keyStart, pair.keyEnd, pair.keyQuote, pair.key);
        entry.value = pair.shorthand ? entry.key
                                     : heldToken(text, pair.valueStart, pair.valueEnd, pair.valueQuote, pair.value);
        EntrySpan span;
        span.start = qint32(pair.commentStart >= 0 ? pair.commentStart : pair.keyStart);
        const qsizetype keyInset = pair.keyQuote ? 1 : 0;
        const qsizetype valueInset = pair.valueQuote ? 1 : 0;
        span.keyStart = qint32(pair.keyStart + keyInset);
        span.keyEnd = qint32(pair.keyEnd - keyInset);
        span.valueStart = qint32(pair.valueStart + valueInset);
        span.valueEnd = qint32(pair.valueEnd - valueInset);
        span.end = qint32(pair.end);
        if (pair.commentStart >= 0) {
            qsizetype bodyEnd = pair.commentEnd - 2;
            const qsizetype bodyStart = pair.commentStart + 2;
            while (bodyEnd > bodyStart && text[bodyEnd - 1] == u'*')
                --bodyEnd;
            if (bodyEnd > bodyStart) {
                span.bodyStart = qint32(bodyStart);
                span.bodyEnd = qint32(bodyEnd);
                entry.comment = text.sliced(bodyStart, bodyEnd - bodyStart).toString();
            }
        }
        order.push_back({pair.keyStart, -1 - added.size()});
        added.append(std::move(entry));
        addedSpans.push_back(span);
    }
    if (added.isEmpty())
        return content;

    std::sort(order.begin(), order.end(), [](const Placed &a, const Placed &b) { return a.position < b.position; });
    QList<Entry> entries;
    std::vector<EntrySpan> spans;
    entries.reserve(qsizetype(order.size()));
    spans.reserve(order.size());
    for (const Placed &placed : order) {
        if (placed.index >= 0) {
            entries.append(std::move(content.entries[placed.index]));
            spans.push_back(content.spans[size_t(placed.index)]);
        } else {
            entries.append(std::move(added[-1 - placed.index]));
            spans.push_back(addedSpans[size_t(-1 - placed.index)]);
        }
    }
    content.entries = std::move(entries);
    content.spans = std::move(spans);
    return content;
}
