// Code-point, folded and numeric text comparisons.
#include "textorder.h"

#include <algorithm>
#include <cstring>

namespace {

// Moves surrogates above the rest of the BMP so that comparing the adjusted
// UTF-16 code units gives code-point order.
inline char16_t codePointRank(char16_t c)
{
    if (c >= 0xD800) {
        if (c >= 0xE000)
            return char16_t(c - 0x800);
        return char16_t(c + 0x2000);
    }
    return c;
}

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

} // namespace

int TextOrder::compareCodePoints(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] != pb[i])
            return codePointRank(pa[i]) < codePointRank(pb[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool TextOrder::lessByCodePoints(QStringView a, QStringView b) { return compareCodePoints(a, b) < 0; }

void TextOrder::sortByCodePoints(QStringList &texts)
{
    std::sort(texts.begin(), texts.end(),
              [](const QString &a, const QString &b) { return compareCodePoints(a, b) < 0; });
}

QString TextOrder::sortFold(const QString &text)
{
    return text.toLower().normalized(QString::NormalizationForm_D);
}

namespace {

// sortFold() of each Latin-1 character as UTF-8, made by sortFold() itself.
// A text of Latin-1 characters folds character by character: lowering them
// looks at no neighbour, and their decompositions add at most one combining
// mark after a letter, so no marks meet for canonical reordering.
struct Latin1Folds
{
    char bytes[256][8] = {};
    uchar sizes[256] = {};
    qsizetype longest = 8; // the most bytes one character folds to
    Latin1Folds()
    {
        qsizetype most = 0;
        for (int c = 0; c < 256; ++c) {
            const QByteArray folded = TextOrder::sortFold(QString(QChar(char16_t(c)))).toUtf8();
            Q_ASSERT(folded.size() <= 8);
            sizes[c] = uchar(folded.size());
            std::copy(folded.cbegin(), folded.cbegin() + std::min<qsizetype>(folded.size(), 8), bytes[c]);
            most = std::max(most, folded.size());
        }
        longest = most;
    }
};

const Latin1Folds &latin1Folds()
{
    static const Latin1Folds folds;
    return folds;
}

} // namespace

QByteArray TextOrder::sortKey(const QString &text)
{
    QByteArray key;
    appendSortKey(key, text);
    return key;
}

void TextOrder::appendSortKey(QByteArray &out, const QString &text)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && units[i] < 0x80)
        ++i;
    if (i == n) {
        const qsizetype at = out.size();
        out.resize(at + n);
        char *to = out.data() + at;
        for (qsizetype k = 0; k < n; ++k) {
            const char16_t c = units[k];
            to[k] = char(c >= u'A' && c <= u'Z' ? c + 32 : c);
        }
        return;
    }
    qsizetype k = i;
    while (k < n && units[k] < 0x100)
        ++k;
    if (k < n) {
        out.append(sortFold(text).toUtf8());
        return;
    }
    const Latin1Folds &folds = latin1Folds();
    const qsizetype at = out.size();
    // Each character's eight bytes are copied whole; the next overwrites the rest.
    out.resize(at + n * folds.longest + 8);
    char *to = out.data() + at;
    for (k = 0; k < n; ++k) {
        const char16_t c = units[k];
        std::memcpy(to, folds.bytes[c], sizeof folds.bytes[c]);
        to += folds.sizes[c];
    }
    out.truncate(to - out.constData());
}

int TextOrder::compareNumeric(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char16_t ca = a.at(i).unicode();
        const char16_t cb = b.at(j).unicode();
        if (isDigit(ca) && isDigit(cb)) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && isDigit(a.at(ei).unicode()))
                ++ei;
            while (ej < b.size() && isDigit(b.at(ej).unicode()))
                ++ej;
            qsizetype si = i;
            qsizetype sj = j;
            while (si + 1 < ei && a.at(si) == u'0')
                ++si;
            while (sj + 1 < ej && b.at(sj) == u'0')
                ++sj;
            const qsizetype la = ei - si;
            const qsizetype lb = ej - sj;
            if (la != lb)
                return la < lb ? -1 : 1;
            if (const int c = a.mid(si, la).compare(b.mid(sj, lb)))
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (ca != cb)
            return codePointRank(ca) < codePointRank(cb) ? -1 : 1;
        ++i;
        ++j;
    }
    const qsizetype ra = a.size() - i;
    const qsizetype rb = b.size() - j;
    return ra == rb ? 0 : (ra < rb ? -1 : 1);
}
