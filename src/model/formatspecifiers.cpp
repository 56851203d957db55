// Scanning of printf-style specifiers and comparison of the argument lists that
// a base text and a translation read.
#include "model/formatspecifiers.h"

#include <QVarLengthArray>
#include <algorithm>

namespace {

// Flag bits of one specifier.
constexpr unsigned Minus = 1;
constexpr unsigned Plus = 2;
constexpr unsigned Space = 4;
constexpr unsigned Hash = 8;
constexpr unsigned Zero = 16;
constexpr unsigned Quote = 32;

// Positions beyond this are not argument indices but text that happens to
// contain digits; the bound also keeps the arithmetic from overflowing.
constexpr int maxNumber = 9999;

inline bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

inline bool isFloating(char16_t c)
{
    switch (c) {
    case u'f':
    case u'F':
    case u'e':
    case u'E':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        return true;
    default:
        return false;
    }
}

inline bool isInteger(char16_t c)
{
    switch (c) {
    case u'd':
    case u'i':
    case u'u':
    case u'o':
    case u'x':
    case u'X':
        return true;
    default:
        return false;
    }
}

inline bool isConversion(char16_t c)
{
    switch (c) {
    case u'@':
    case u'c':
    case u'C':
    case u's':
    case u'S':
    case u'p':
        return true;
    default:
        return isInteger(c) || isFloating(c);
    }
}

// Decimal digits at pos, advancing past them; -1 when there are none or the
// number exceeds maxNumber.
int readNumber(QStringView text, qsizetype &pos)
{
    const qsizetype begin = pos;
    int value = 0;
    while (pos < text.size() && isDigit(text[pos].unicode())) {
        if (value <= maxNumber)
            value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
    }
    if (pos == begin || value > maxNumber)
        return -1;
    return value;
}

// "N$" at pos: advances past it and returns N, or leaves pos and returns 0.
int readPosition(QStringView text, qsizetype &pos)
{
    qsizetype p = pos;
    const int n = readNumber(text, p);
    if (n < 1 || p >= text.size() || text[p] != u'$')
        return 0;
    pos = p + 1;
    return n;
}

// A width or precision at pos, advancing past it and setting present when there
// is one. star is 0 without a '*', its N for "*N$", and -1 for an unnumbered one.
void readAmount(QStringView text, qsizetype &pos, bool &present, int &star)
{
    star = 0;
    if (pos < text.size() && text[pos] == u'*') {
        ++pos;
        present = true;
        star = readPosition(text, pos);
        if (star == 0)
            star = -1;
        return;
    }
    const qsizetype begin = pos;
    while (pos < text.size() && isDigit(text[pos].unicode()))
        ++pos;
    present = present || pos != begin;
}

FormatLength readLength(QStringView text, qsizetype &pos)
{
    if (pos >= text.size())
        return FormatLength::None;
    const char16_t c = text[pos].unicode();
    const bool doubled = pos + 1 < text.size() && text[pos + 1] == QChar(c);
    switch (c) {
    case u'h':
        pos += doubled ? 2 : 1;
        return doubled ? FormatLength::Char : FormatLength::Short;
    case u'l':
        pos += doubled ? 2 : 1;
        return doubled ? FormatLength::LongLong : FormatLength::Long;
    case u'q':
        ++pos;
        return FormatLength::LongLong;
    case u'z':
        ++pos;
        return FormatLength::Size;
    case u't':
        ++pos;
        return FormatLength::PtrDiff;
    case u'j':
        ++pos;
        return FormatLength::IntMax;
    case u'L':
        ++pos;
        return FormatLength::LongDouble;
    default:
        return FormatLength::None;
    }
}

bool lengthFits(FormatLength length, char16_t conversion)
{
    switch (length) {
    case FormatLength::None:
        return true;
    case FormatLength::Long:
        return isInteger(conversion) || isFloating(conversion) || conversion == u'c' ||
               conversion == u's';
    case FormatLength::LongDouble:
        return isFloating(conversion);
    default:
        return isInteger(conversion);
    }
}

bool flagsFit(unsigned flags, char16_t c)
{
    const bool isSigned = c == u'd' || c == u'i' || isFloating(c);
    if ((flags & (Plus | Space)) && !isSigned)
        return false;
    if ((flags & Hash) && !(c == u'o' || c == u'x' || c == u'X' || isFloating(c)))
        return false;
    if ((flags & Zero) && !(isInteger(c) || isFloating(c)))
        return false;
    if ((flags & Quote) &&
        !(c == u'd' || c == u'i' || c == u'u' || c == u'f' || c == u'F' || c == u'g' || c == u'G'))
        return false;
    return true;
}

FormatKind kindOf(FormatLength length, char16_t conversion)
{
    if (isFloating(conversion) && length == FormatLength::Long)
        length = FormatLength::None;
    switch (conversion) {
    case u'i':
        conversion = u'd';
        break;
    case u'X':
    case u'F':
    case u'E':
    case u'G':
    case u'A':
        conversion = char16_t(conversion | 0x20);
        break;
    default:
        break;
    }
    return {length, conversion};
}

// Reads the specifier whose '%' is at text[at] into out. Unnumbered arguments
// are taken from unnumbered, which is advanced only when a specifier is found.
bool readSpecifier(QStringView text, qsizetype at, int &unnumbered, FormatSpecifier &out)
{
    qsizetype pos = at + 1;
    const int position = readPosition(text, pos);

    unsigned flags = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        const unsigned flag = c == u'-'    ? Minus
                              : c == u'+'  ? Plus
                              : c == u' '  ? Space
                              : c == u'#'  ? Hash
                              : c == u'0'  ? Zero
                              : c == u'\'' ? Quote
                                           : 0;
        if (flag == 0)
            break;
        flags |= flag;
    }

    bool amounts = false;
    int widthStar = 0;
    int precisionStar = 0;
    readAmount(text, pos, amounts, widthStar);
    if (pos < text.size() && text[pos] == u'.') {
        ++pos;
        amounts = true;
        readAmount(text, pos, amounts, precisionStar);
    }
    const FormatLength length = readLength(text, pos);
    if (pos >= text.size())
        return false;
    const char16_t conversion = text[pos].unicode();
    ++pos;
    if (!isConversion(conversion) || !lengthFits(length, conversion) ||
        !flagsFit(flags, conversion))
        return false;

    const bool followedByWord =
        pos < text.size() && (text[pos].isLetter() || isDigit(text[pos].unicode()));
    if ((flags & Space) &&
        (followedByWord || !(position || amounts || length != FormatLength::None)))
        return false;
    if (conversion == u'i' && pos < text.size() && text[pos].isLetter())
        return false;

    out.widthArgument = widthStar < 0 ? ++unnumbered : widthStar;
    out.precisionArgument = precisionStar < 0 ? ++unnumbered : precisionStar;
    out.argument = position ? position : ++unnumbered;
    out.positional = position != 0;
    out.kind = kindOf(length, conversion);
    out.start = at;
    out.length = pos - at;
    return true;
}

// Calls visit for each specifier of text, in text order.
template <typename Visit> void scan(QStringView text, Visit &&visit)
{
    int unnumbered = 0;
    FormatSpecifier specifier;
    qsizetype at = text.indexOf(u'%');
    while (at >= 0) {
        qsizetype next = at + 1;
        if (next < text.size() && text[next] == u'%')
            ++next;
        else if (readSpecifier(text, at, unnumbered, specifier)) {
            visit(specifier);
            next = specifier.start + specifier.length;
        }
        at = text.indexOf(u'%', next);
    }
}

// One argument a text reads. When the text reads it as two different kinds,
// the second is kept in other.
struct Slot
{
    int argument = 0;
    FormatKind kind;
    bool conflicting = false;
    FormatKind other;
};

// A text's arguments by ascending index. Few texts read more than eight, so
// the comparison normally stays off the heap.
using Signature = QVarLengthArray<Slot, 8>;

void addArgument(Signature &signature, int argument, FormatKind kind)
{
    auto it = std::lower_bound(signature.begin(), signature.end(), argument,
                               [](const Slot &slot, int n) { return slot.argument < n; });
    if (it != signature.end() && it->argument == argument) {
        if (it->kind != kind && !it->conflicting) {
            it->conflicting = true;
            it->other = kind;
        }
        return;
    }
    signature.insert(it, Slot{argument, kind, false, {}});
}

Signature signatureOf(QStringView text)
{
    constexpr FormatKind amount{FormatLength::None, u'*'};
    Signature signature;
    scan(text, [&](const FormatSpecifier &s) {
        if (s.widthArgument)
            addArgument(signature, s.widthArgument, amount);
        if (s.precisionArgument)
            addArgument(signature, s.precisionArgument, amount);
        addArgument(signature, s.argument, s.kind);
    });
    return signature;
}

bool numberedFromOne(const Signature &signature)
{
    return signature.isEmpty() || signature.last().argument == signature.size();
}

QString positionedSpelling(int argument, FormatKind kind, bool numbered)
{
    const QString plain = FormatSpecifiers::spelling(kind);
    if (!numbered)
        return plain;
    const QString n = QString::number(argument) + u'$';
    return kind.conversion == u'*' ? plain + n : plain.left(1) + n + plain.mid(1);
}

QString listing(const Signature &signature, bool numbered)
{
    if (signature.isEmpty())
        return QStringLiteral("none");
    QString text;
    for (const Slot &slot : signature) {
        if (!text.isEmpty())
            text += u", ";
        text += positionedSpelling(slot.argument, slot.kind, numbered);
    }
    return text;
}

// The first way the translation's arguments differ from the base text's, or
// nothing. The explanation is only built when describe is set.
std::optional<QString> compare(QStringView base, QStringView translation, bool describe)
{
    if (!base.contains(u'%') && !translation.contains(u'%'))
        return std::nullopt;
    if (base == translation)
        return std::nullopt;
    const Signature expected = signatureOf(base);
    const Signature found = signatureOf(translation);

    const bool sameArguments =
        std::equal(expected.begin(), expected.end(), found.begin(), found.end(),
                   [](const Slot &a, const Slot &b) { return a.argument == b.argument; });
    if (!sameArguments) {
        if (!describe)
            return QString();
        // Indices only help the reader when some are skipped.
        const bool numbered = !numberedFromOne(expected) || !numberedFromOne(found);
        return QStringLiteral("expects %1; found %2")
            .arg(listing(expected, numbered), listing(found, numbered));
    }
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const Slot &e = expected[i];
        const Slot &f = found[i];
        if (e.kind != f.kind) {
            if (!describe)
                return QString();
            return QStringLiteral("argument %1 is %2 in the base text, %3 here")
                .arg(QString::number(e.argument), FormatSpecifiers::spelling(e.kind),
                     FormatSpecifiers::spelling(f.kind));
        }
        // A base text that already reads an argument two ways leaves the
        // translation nothing consistent to follow.
        if (f.conflicting && !e.conflicting) {
            if (!describe)
                return QString();
            return QStringLiteral("argument %1 is used as both %2 and %3 here")
                .arg(QString::number(f.argument), FormatSpecifiers::spelling(f.kind),
                     FormatSpecifiers::spelling(f.other));
        }
    }
    return std::nullopt;
}

} // namespace

QList<FormatSpecifier> FormatSpecifiers::parse(QStringView text)
{
    QList<FormatSpecifier> specifiers;
    scan(text, [&](const FormatSpecifier &s) { specifiers.append(s); });
    return specifiers;
}

bool FormatSpecifiers::matches(QStringView base, QStringView translation)
{
    return !compare(base, translation, false);
}

std::optional<QString> FormatSpecifiers::mismatch(QStringView base, QStringView translation)
{
    return compare(base, translation, true);
}

QString FormatSpecifiers::spelling(FormatKind kind)
{
    if (kind.conversion == u'*')
        return QStringLiteral("*");
    QString text(u'%');
    switch (kind.length) {
    case FormatLength::None:
        break;
    case FormatLength::Char:
        text += u"hh";
        break;
    case FormatLength::Short:
        text += u'h';
        break;
    case FormatLength::Long:
        text += u'l';
        break;
    case FormatLength::LongLong:
        text += u"ll";
        break;
    case FormatLength::Size:
        text += u'z';
        break;
    case FormatLength::PtrDiff:
        text += u't';
        break;
    case FormatLength::IntMax:
        text += u'j';
        break;
    case FormatLength::LongDouble:
        text += u'L';
        break;
    }
    text += QChar(kind.conversion);
    return text;
}
