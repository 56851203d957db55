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

#include "model/projectfiles.h"
#include "model/textblock.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline bool isLineTerminator(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// What the white-space scans need to know of a character.
enum class Kind : unsigned char { Other, Space, Terminator };

constexpr auto kAsciiKinds = [] {
    std::array<Kind, 128> kinds{};
    for (Kind &k : kinds)
        k = Kind::Other;
    kinds[0x09] = kinds[0x20] = Kind::Space;
    for (int c = 0x0A; c <= 0x0D; ++c)
        kinds[c] = Kind::Terminator;
    return kinds;
}();

inline Kind kindOf(char16_t c)
{
    if (c < 0x80)
        return kAsciiKinds[c];
    if (c > 0x3000)
        return Kind::Other;
    if (c == 0x85 || c == 0x2028 || c == 0x2029)
        return Kind::Terminator;
    // The rest of Unicode's White_Space, which is what ICU's \s matches.
    return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F
            || c == 0x3000
        ? Kind::Space
        : Kind::Other;
}

inline bool isWhiteSpace(char16_t c)
{
    const Kind k = kindOf(c);
    return k == Kind::Space || k == Kind::Terminator;
}

// The searches below test sixteen units per step: packing the lane masks of
// two halves gives one bit per unit, so a step costs a single branch.

// The first star at or after i, or n.
qsizetype nextStar(const char16_t *text, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i star = _mm_set1_epi16(u'*');
    const auto stars = [&](qsizetype at) {
        return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at)), star);
    };
    for (; i + 16 <= n; i += 16) {
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(stars(i), stars(i + 8))));
        if (mask != 0)
            return i + std::countr_zero(mask);
    }
#endif
    while (i < n && text[i] != u'*')
        ++i;
    return i;
}

// The first line terminator at or after i, or n.
qsizetype nextTerminator(const char16_t *text, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(0x0A);
    const __m128i three = _mm_set1_epi16(3);
    const __m128i nextLine = _mm_set1_epi16(0x85);
    const __m128i lowBitOff = _mm_set1_epi16(short(0xFFFE));
    const __m128i lineSeparator = _mm_set1_epi16(0x2028); // and 0x2029
    const auto terminators = [&](qsizetype at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at));
        // LF..CR: v - 0x0A is at most 3 when taken unsigned.
        const __m128i range = _mm_subs_epu16(_mm_sub_epi16(v, lineFeed), three);
        __m128i hit = _mm_cmpeq_epi16(range, _mm_setzero_si128());
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, nextLine));
        return _mm_or_si128(hit, _mm_cmpeq_epi16(_mm_and_si128(v, lowBitOff), lineSeparator));
    };
    for (; i + 16 <= n; i += 16) {
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(terminators(i), terminators(i + 8))));
        if (mask != 0)
            return i + std::countr_zero(mask);
    }
#endif
    while (i < n && !isLineTerminator(text[i]))
        ++i;
    return i;
}

// Set bits of a 16-bit mask, without relying on a popcount instruction.
inline int bitCount16(unsigned x)
{
    x = x - ((x >> 1) & 0x5555u);
    x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
    x = (x + (x >> 4)) & 0x0F0Fu;
    return int((x + (x >> 8)) & 0x1Fu);
}

// nextTerminator() that also counts the quotes before the terminator and
// tells whether a backslash stands among them: a key line with three quotes
// after the key's opening one and no backslash holds nothing that escapes.
qsizetype nextTerminatorCounting(const char16_t *text, qsizetype i, qsizetype n, int &quotes, bool &backslash)
{
    quotes = 0;
    backslash = false;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi16(0x0A);
    const __m128i three = _mm_set1_epi16(3);
    const __m128i nextLine = _mm_set1_epi16(0x85);
    const __m128i lowBitOff = _mm_set1_epi16(short(0xFFFE));
    const __m128i lineSeparator = _mm_set1_epi16(0x2028);
    const __m128i quote = _mm_set1_epi16(u'"');
    const __m128i slash = _mm_set1_epi16(u'\\');
    const auto terminators = [&](const __m128i v) {
        const __m128i range = _mm_subs_epu16(_mm_sub_epi16(v, lineFeed), three);
        __m128i hit = _mm_cmpeq_epi16(range, _mm_setzero_si128());
        hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, nextLine));
        return _mm_or_si128(hit, _mm_cmpeq_epi16(_mm_and_si128(v, lowBitOff), lineSeparator));
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i + 8));
        const unsigned stop = unsigned(_mm_movemask_epi8(_mm_packs_epi16(terminators(a), terminators(b))));
        const unsigned quoteMask = unsigned(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, quote), _mm_cmpeq_epi16(b, quote))));
        const unsigned slashMask = unsigned(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, slash), _mm_cmpeq_epi16(b, slash))));
        // One mask bit per unit: only the units before the stop count.
        const unsigned before = stop ? (1u << std::countr_zero(stop)) - 1 : 0xFFFFu;
        quotes += bitCount16(quoteMask & before);
        backslash = backslash || (slashMask & before) != 0;
        if (stop)
            return i + std::countr_zero(stop);
    }
#endif
    for (; i < n && !isLineTerminator(text[i]); ++i) {
        quotes += text[i] == u'"';
        backslash = backslash || text[i] == u'\\';
    }
    return i;
}

// The last quote in [from, i), or from - 1.
qsizetype previousQuote(const char16_t *text, qsizetype from, qsizetype i)
{
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi16(0x22);
    const auto quotes = [&](qsizetype at) {
        return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + at)), quote);
    };
    for (; i - 16 >= from; i -= 16) {
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(quotes(i - 16), quotes(i - 8))));
        if (mask != 0)
            return i - 16 + (31 - std::countl_zero(mask));
    }
#endif
    while (--i >= from && text[i] != u'"') {
    }
    return i;
}

struct EntryMatch
{
    qsizetype keyEnd = -1;     // closing quote of the key
    qsizetype valueStart = -1; // opening quote of the value
    qsizetype valueEnd = -1;   // closing quote of the value
    qsizetype semicolon = -1;  // the ";" after the value
    qsizetype end = -1;        // end of the whole match
    bool plain = false;        // key and value hold no quote or backslash
};

class Matcher
{
public:
    explicit Matcher(QStringView text) : m_text(text), m_n(text.size()) {}

    // Searches from `s` on, appending each entry found to `found` (and where
    // the search went on after it to `ends`, when given), until stop(s)
    // holds for the position of a next search or the text ends. Returns that
    // position. A search depends on nothing but its position: the caches
    // below only spare work.
    template <typename Stop>
    qsizetype scan(qsizetype s, std::vector<EntrySpan> &found, std::vector<qsizetype> *ends,
                   Stop stop);

private:
    char16_t at(qsizetype i) const { return m_text[i].unicode(); }

    qsizetype skipWhiteSpace(qsizetype i, bool *sawTerminator = nullptr) const
    {
        bool saw = false;
        for (; i < m_n; ++i) {
            const Kind kind = kindOf(at(i));
            if (kind != Kind::Space && kind != Kind::Terminator)
                break;
            saw = saw || kind == Kind::Terminator;
        }
        if (sawTerminator)
            *sawTerminator = saw;
        return i;
    }

    qsizetype lineEnd(qsizetype i) const { return nextTerminator(m_text.utf16(), i, m_n); }

    // The last position before i, and after 'floor', that holds no space;
    // 'floor' when there is none. Used within one line.
    qsizetype skipSpacesBack(qsizetype i, qsizetype floor) const
    {
        do
            --i;
        while (i > floor && kindOf(at(i)) == Kind::Space);
        return i;
    }

    qsizetype findClose(qsizetype from);
    qsizetype closingQuote(qsizetype lineStart, qsizetype lineEnd) const;
    bool matchEntry(qsizetype quote, EntryMatch &match) const;
    bool finishMatch(qsizetype keyEnd, qsizetype open, qsizetype close, EntryMatch &match) const;
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
    while ((i = nextStar(m_text.utf16(), i, m_n)) + 1 < m_n && at(i + 1) != u'/')
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
//
// A candidate key end is a quote followed by spaces, "=", spaces and a value
// quote. A shape left open at the line end (a quote, maybe spaces and "=",
// then only spaces) may continue on later lines; its key end lies right of
// every other, so it is tried first. Otherwise the value must close at the
// line's closing quote, which is also the line's last quote, so the key ends
// at the rightmost candidate whose value quote lies before it. Reading the
// line from its end finds that candidate after a single backward quote
// search in the usual case, instead of stopping at every quote of the line.
bool Matcher::matchEntry(qsizetype quote, EntryMatch &match) const
{
    const char16_t *text = m_text.utf16();
    int quotes = 0;
    bool backslash = false;
    const qsizetype end = nextTerminatorCounting(text, quote + 1, m_n, quotes, backslash);

    qsizetype last = skipSpacesBack(end, quote);
    const bool equals = last > quote && at(last) == u'=';
    if (equals)
        last = skipSpacesBack(last, quote);
    if (last > quote && at(last) == u'"') {
        qsizetype open = skipWhiteSpace(end);
        if (!equals)
            open = open < m_n && at(open) == u'=' ? skipWhiteSpace(open + 1) : m_n;
        if (open < m_n && at(open) == u'"') {
            const qsizetype close = closingQuote(open, lineEnd(open + 1));
            if (close > open)
                return finishMatch(last, open, close, match);
        }
    }

    const qsizetype close = closingQuote(quote, end);
    if (close < 0)
        return false;
    for (qsizetype open = previousQuote(text, quote + 1, close); open > quote;
         open = previousQuote(text, quote + 1, open)) {
        qsizetype i = skipSpacesBack(open, quote);
        if (i <= quote || at(i) != u'=')
            continue;
        i = skipSpacesBack(i, quote);
        if (i > quote && at(i) == u'"') {
            match.plain = quotes == 3 && !backslash;
            return finishMatch(i, open, close, match);
        }
    }
    return false;
}

bool Matcher::finishMatch(qsizetype keyEnd, qsizetype open, qsizetype close, EntryMatch &match) const
{
    match.keyEnd = keyEnd;
    match.valueStart = open;
    match.valueEnd = close;
    match.semicolon = skipWhiteSpace(close + 1);
    match.end = matchEnd(match.semicolon + 1);
    return true;
}

// The last position in the white space after ';' where '$' holds. The
// callers have made sure that there is one; the fallback only guarantees
// progress.
qsizetype Matcher::matchEnd(qsizetype afterSemicolon) const
{
    const qsizetype rest = skipWhiteSpace(afterSemicolon);
    if (rest >= m_n)
        return m_n;
    for (qsizetype i = rest - 1; i >= afterSemicolon; --i) {
        if (isLineTerminator(at(i)) && !(at(i) == u'\n' && i > 0 && at(i - 1) == u'\r'))
            return i;
    }
    return rest;
}

template <typename Stop>
qsizetype Matcher::scan(qsizetype s, std::vector<EntrySpan> &found, std::vector<qsizetype> *ends,
                        Stop stop)
{
    // A comment closing here attached to nothing; neither will any opener
    // inside it, as they all share the close.
    qsizetype failedClose = -1;
    while (s < m_n && !stop(s)) {
        bool sawTerminator = false;
        const qsizetype p = skipWhiteSpace(s, &sawTerminator);
        if (p >= m_n)
            return m_n;
        EntryMatch match;
        qsizetype bodyStart = 0;
        qsizetype bodyEnd = 0;
        qsizetype keyQuote = -1;
        if (at(p) == u'/' && p + 1 < m_n && at(p + 1) == u'*') {
            const qsizetype close = findClose(p + 2);
            if (close >= 0 && close != failedClose) {
                bool brokeLine = false;
                const qsizetype quote = skipWhiteSpace(close + 2, &brokeLine);
                if (brokeLine && quote < m_n && at(quote) == u'"' && matchEntry(quote, match)) {
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
            if (lineStart && matchEntry(p, match))
                keyQuote = p;
        }
        if (keyQuote < 0) {
            s = p + 1;
            continue;
        }
        const bool commented = bodyEnd > bodyStart;
        found.push_back({qint32(p), qint32(keyQuote + 1), qint32(match.keyEnd), qint32(match.valueStart + 1),
                         qint32(match.valueEnd), qint32(commented ? bodyStart : -1),
                         qint32(commented ? bodyEnd : -1), qint32(match.semicolon + 1), match.plain});
        s = match.end;
        if (ends)
            ends->push_back(s);
    }
    return s;
}

// The spans of a text's entries. With a `cut` inside it, the text is searched
// from its start and, on another thread, from the first line start at or
// after the cut. Once the first search reaches a position the second one
// searched from (its start, or the end of one of its matches), it would
// find what the second found from there on, and stops.
std::vector<EntrySpan> findSpans(QStringView text, qsizetype cut)
{
    const qsizetype n = text.size();
    const auto never = [](qsizetype) { return false; };
    // Entries of real files take some fifty units each.
    std::vector<EntrySpan> found;
    found.reserve(size_t(n / 48));
    if (cut > 0)
        cut = nextTerminator(text.utf16(), cut - 1, n) + 1;
    if (cut <= 0 || cut >= n) {
        Matcher(text).scan(0, found, nullptr, never);
        return found;
    }
    Matcher first(text);
    qsizetype reached = 0;
    std::vector<EntrySpan> later;
    later.reserve(size_t((n - cut) / 48));
    std::vector<qsizetype> laterEnds;
    ProjectFiles::runBoth(
        true,
        [&] { reached = first.scan(0, found, nullptr, [cut](qsizetype s) { return s >= cut; }); },
        [&] { Matcher(text).scan(cut, later, &laterEnds, never); });
    // Where the first search meets the second, and how many of the second's
    // entries lie before that.
    size_t covered = 0;
    const auto meets = [&](qsizetype s) {
        if (s == cut) {
            covered = 0;
            return true;
        }
        const auto end = std::lower_bound(laterEnds.cbegin(), laterEnds.cend(), s);
        if (end == laterEnds.cend() || *end != s)
            return false;
        covered = size_t(end - laterEnds.cbegin()) + 1;
        return true;
    };
    reached = first.scan(reached, found, nullptr, meets);
    if (reached < n)
        found.insert(found.end(), later.cbegin() + qsizetype(covered), later.cend());
    return found;
}

// The entries of found[from, to), into entries[from, to).
void makeEntriesAt(QStringView text, const std::vector<EntrySpan> &found, size_t from, size_t to,
                   Entry *entries)
{
    // Some sixty entries of usual length to a block. Keys have blocks of
    // their own: a project load replaces them by its row keys' starts, and
    // then frees them.
    constexpr qsizetype blockUnits = 4096;
    const auto keyUnitsOf = [](const EntrySpan &f) { return f.keyEnd - f.keyStart + 1; };
    const auto unitsOf = [](const EntrySpan &f) {
        return f.valueEnd - f.valueStart + (f.bodyStart >= 0 ? f.bodyEnd - f.bodyStart : 0) + 2;
    };
    const char16_t *chars = text.utf16();
    for (size_t i = from; i < to;) {
        size_t end = i + 1;
        qsizetype keyUnits = keyUnitsOf(found[i]);
        qsizetype units = unitsOf(found[i]);
        while (end < to &&
               keyUnits + units + keyUnitsOf(found[end]) + unitsOf(found[end]) <= blockUnits) {
            keyUnits += keyUnitsOf(found[end]);
            units += unitsOf(found[end++]);
        }
        TextBlock keys(keyUnits);
        TextBlock texts(units);
        for (; i < end; ++i) {
            const EntrySpan &f = found[i];
            Entry &entry = entries[i];
            entry.key = keys.take(chars + f.keyStart, f.keyEnd - f.keyStart);
            entry.value = texts.take(chars + f.valueStart, f.valueEnd - f.valueStart);
            if (f.bodyStart >= 0)
                entry.comment = texts.take(chars + f.bodyStart, f.bodyEnd - f.bodyStart);
        }
    }
}

// The entries of `found`; with `split`, the first `split` of them are made on
// this thread and the rest on another.
QList<Entry> entriesAt(QStringView text, const std::vector<EntrySpan> &found, size_t split)
{
    QList<Entry> entries(qsizetype(found.size()));
    Entry *out = entries.data();
    if (split == 0 || split >= found.size()) {
        makeEntriesAt(text, found, 0, found.size(), out);
        return entries;
    }
    ProjectFiles::runBoth(
        true, [&] { makeEntriesAt(text, found, 0, split, out); },
        [&] { makeEntriesAt(text, found, split, found.size(), out); });
    return entries;
}

// Texts at least this long are read in two parts on two threads.
constexpr qsizetype ParallelUnits = qsizetype(1) << 20;

QList<Entry> readInParts(QStringView text, std::vector<EntrySpan> &spans, qsizetype cut)
{
    spans = findSpans(text, cut);
    return entriesAt(text, spans, cut > 0 ? spans.size() / 2 : 0);
}

} // namespace

QList<Entry> StringsReader::parse(QStringView text)
{
    Q_ASSERT(text.size() <= MaxUnits);
    std::vector<EntrySpan> spans;
    return parse(text, spans);
}

QList<Entry> StringsReader::parse(QStringView text, std::vector<EntrySpan> &spans)
{
    Q_ASSERT(text.size() <= MaxUnits);
    return readInParts(text, spans, text.size() >= ParallelUnits ? text.size() / 2 : 0);
}

QList<Entry> StringsReader::parseInParts(QStringView text, std::vector<EntrySpan> &spans,
                                         qsizetype cut)
{
    Q_ASSERT(text.size() <= MaxUnits);
    return readInParts(text, spans, cut);
}
