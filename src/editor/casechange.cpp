// Case changes with ICU. The value is cut into pieces first so that escapes
// and format specifiers, which the file's consumer interprets, never change.
#include "casechange.h"

#include <QList>
#include <QRegularExpression>

#include <unicode/locid.h>
#include <unicode/stringoptions.h>
#include <unicode/unistr.h>

namespace {

enum class PieceType { Text, Space, Protected };

struct Piece
{
    PieceType type;
    qsizetype start;
    qsizetype length;
};

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Length of the escape at `i` (text[i] is a backslash) and whether it stands
// for white space, which separates words when capitalising.
std::pair<qsizetype, bool> escapeAt(const QString &text, qsizetype i)
{
    if (i + 1 >= text.size())
        return {1, false};
    const QChar next = text.at(i + 1);
    if ((next == u'U' || next == u'u') && i + 6 <= text.size()) {
        bool hex = true;
        for (qsizetype k = i + 2; k < i + 6; ++k)
            hex = hex && isHex(text.at(k));
        if (hex) {
            const uint code = text.mid(i + 2, 4).toUInt(nullptr, 16);
            return {6, QChar::isSpace(code)};
        }
    }
    const bool space = next == u'n' || next == u't' || next == u'r' || next == u'f' ||
                       next == u'v';
    return {2, space};
}

// printf and Foundation conversions: %d, %@, %1$@, %-5.2f, %lld, %%. A space
// flag is not accepted, so "50% off" keeps its "o" a letter.
const QRegularExpression &formatSpecifier()
{
    static const QRegularExpression re(QStringLiteral(
        "%(?:[0-9]+\\$)?[-+#0']*(?:[0-9]+|\\*)?(?:\\.(?:[0-9]+|\\*))?"
        "(?:hh|h|ll|l|L|q|j|z|t)?[@dDiuUxXoOfFeEgGaAcCsSpn%]"));
    return re;
}

QList<Piece> split(const QString &text)
{
    QList<Piece> pieces;
    auto add = [&pieces](PieceType type, qsizetype start, qsizetype length) {
        if (type != PieceType::Protected && !pieces.isEmpty() && pieces.last().type == type &&
            pieces.last().start + pieces.last().length == start) {
            pieces.last().length += length;
            return;
        }
        pieces.append({type, start, length});
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == u'\\') {
            const auto [length, space] = escapeAt(text, i);
            // An escaped white space stays untouched but still ends a word.
            add(PieceType::Protected, i, length);
            if (space)
                add(PieceType::Space, i + length, 0);
            i += length;
            continue;
        }
        if (c == u'%') {
            const QRegularExpressionMatch m = formatSpecifier().match(
                text, i, QRegularExpression::NormalMatch,
                QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                add(PieceType::Protected, i, m.capturedLength());
                i += m.capturedLength();
                continue;
            }
        }
        add(c.isSpace() ? PieceType::Space : PieceType::Text, i, 1);
        ++i;
    }
    return pieces;
}

icu::Locale localeFor(const QString &name)
{
    QString id = name;
    id.replace(u'-', u'_');
    icu::Locale locale(id.toUtf8().constData());
    return locale.isBogus() ? icu::Locale::getRoot() : locale;
}

icu::UnicodeString toIcu(QStringView text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar *>(text.utf16()),
                              int32_t(text.size()));
}

QString fromIcu(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

QString transform(CaseChange::Kind kind, QStringView text, const icu::Locale &locale)
{
    icu::UnicodeString s = toIcu(text);
    switch (kind) {
    case CaseChange::Kind::Upper:
        s.toUpper(locale);
        break;
    case CaseChange::Kind::Lower:
        s.toLower(locale);
        break;
    case CaseChange::Kind::Capitalize:
        s.toTitle(nullptr, locale, U_TITLECASE_WHOLE_STRING);
        break;
    }
    return fromIcu(s);
}

bool hasLetterOrNumber(QStringView text)
{
    for (QChar c : text) {
        if (c.isLetterOrNumber())
            return true;
    }
    return false;
}

} // namespace

QString CaseChange::apply(Kind kind, const QString &text, const QString &localeName)
{
    const icu::Locale locale = localeFor(localeName);
    const QList<Piece> pieces = split(text);
    QString out;
    out.reserve(text.size());

    if (kind != Kind::Capitalize) {
        // Runs between protected pieces are mapped whole, so context-dependent
        // mappings (a Greek final sigma) see their neighbours.
        qsizetype runStart = -1;
        qsizetype runEnd = -1;
        auto flush = [&] {
            if (runStart >= 0)
                out += transform(kind, QStringView(text).mid(runStart, runEnd - runStart), locale);
            runStart = -1;
        };
        for (const Piece &p : pieces) {
            if (p.type == PieceType::Protected) {
                flush();
                out += QStringView(text).mid(p.start, p.length);
                continue;
            }
            if (runStart < 0)
                runStart = p.start;
            runEnd = p.start + p.length;
        }
        flush();
        return out;
    }

    bool wordStarted = false;
    for (const Piece &p : pieces) {
        const QStringView piece = QStringView(text).mid(p.start, p.length);
        switch (p.type) {
        case PieceType::Space:
            out += piece;
            wordStarted = false;
            break;
        case PieceType::Protected:
            out += piece;
            break;
        case PieceType::Text:
            if (wordStarted) {
                out += transform(Kind::Lower, piece, locale);
            } else {
                out += transform(Kind::Capitalize, piece, locale);
                wordStarted = hasLetterOrNumber(piece);
            }
            break;
        }
    }
    return out;
}
