// Decoding of HTML character references in localized values before they are
// written to a .strings file.
//
// Only complete references are decoded: a known HTML5 name, or a decimal or
// hexadecimal number, each closed by ";". HTML5 also accepts a few legacy
// names without the semicolon ("&amp", "&copy"); they are left alone, since
// user text such as "R&D" or "&copy" rarely means an entity and the writer
// must not alter it. A numeric reference that names no Unicode scalar value
// (zero, a surrogate, beyond U+10FFFF, or too long) is left unchanged too, so
// no text is ever replaced by U+FFFD. References to U+0080..U+009F mean what
// HTML5 says (mostly Windows-1252 punctuation such as &#146; for U+2019).
#include "model/htmlentities.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

struct NamedEntity
{
    const char *name;
    const char16_t *text;
};

const NamedEntity kEntities[] = {
#include "model/htmlentitytable.inc"
};

const char16_t kC1Meanings[] = {
#include "model/htmlentitiesc1.inc"
};

constexpr qsizetype kLongestName = 31;

bool isAsciiAlnum(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

int digitValue(char16_t c, int base)
{
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
        v = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
        v = c - u'A' + 10;
    return v;
}

// Decodes the reference starting at text[at] == '&'. On success appends its
// characters to out and returns the length of the reference; otherwise 0.
qsizetype decodeAt(QStringView text, qsizetype at, QString &out)
{
    const qsizetype n = text.size();
    qsizetype i = at + 1;
    if (i < n && text[i] == u'#') {
        ++i;
        int base = 10;
        if (i < n && (text[i] == u'x' || text[i] == u'X')) {
            base = 16;
            ++i;
        }
        const qsizetype digitsStart = i;
        char32_t code = 0;
        while (i < n && digitValue(text[i].unicode(), base) >= 0) {
            code = code * base + digitValue(text[i].unicode(), base);
            if (code > 0x10FFFF)
                return 0;
            ++i;
        }
        if (i == digitsStart || i >= n || text[i] != u';')
            return 0;
        if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        if (code >= 0x80 && code <= 0x9F)
            code = kC1Meanings[code - 0x80];
        out.append(QString::fromUcs4(&code, 1));
        return i + 1 - at;
    }
    const qsizetype nameStart = i;
    while (i < n && i - nameStart <= kLongestName && isAsciiAlnum(text[i].unicode()))
        ++i;
    if (i == nameStart || i - nameStart > kLongestName || i >= n || text[i] != u';')
        return 0;
    char name[kLongestName + 1];
    for (qsizetype k = nameStart; k < i; ++k)
        name[k - nameStart] = char(text[k].unicode());
    name[i - nameStart] = '\0';
    const auto found = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
        [](const NamedEntity &e, const char *key) { return std::strcmp(e.name, key) < 0; });
    if (found == std::end(kEntities) || std::strcmp(found->name, name) != 0)
        return 0;
    out.append(QString::fromUtf16(found->text));
    return i + 1 - at;
}

} // namespace

qsizetype decodeHTMLEntityAt(QStringView text, qsizetype at, QString &out)
{
    return decodeAt(text, at, out);
}

QString removingHTMLEntities(const QString &text)
{
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    while (amp >= 0) {
        out.append(QStringView(text).sliced(copied, amp - copied));
        const qsizetype used = decodeAt(text, amp, out);
        if (used == 0) {
            out.append(u'&');
            copied = amp + 1;
        } else {
            copied = amp + used;
        }
        amp = text.indexOf(u'&', copied);
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}
