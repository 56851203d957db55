// The format, line-break and white-space checks of one translation.
#include "model/translationcheck.h"

#include "model/formatspecifiers.h"

#include <QStringList>

namespace {

// Line breaks in held text: real ones and the escape \n. An escaped backslash
// is skipped whole, so "\\n" is a backslash and an "n".
int lineBreaks(QStringView text)
{
    int count = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        switch (text[i].unicode()) {
        case u'\\':
            if (i + 1 < size && text[i + 1] == u'n')
                ++count;
            ++i;
            break;
        case u'\r':
            if (i + 1 < size && text[i + 1] == u'\n')
                ++i;
            ++count;
            break;
        case u'\n':
        case 0x2028:
        case 0x2029:
            ++count;
            break;
        default:
            break;
        }
    }
    return count;
}

inline bool isSpaceEscape(QChar c)
{
    return c == u'n' || c == u't' || c == u'r';
}

bool startsWithSpace(QStringView text)
{
    if (text.isEmpty())
        return false;
    return text[0].isSpace() || (text.size() > 1 && text[0] == u'\\' && isSpaceEscape(text[1]));
}

bool endsWithSpace(QStringView text)
{
    if (text.isEmpty())
        return false;
    const qsizetype last = text.size() - 1;
    if (text[last].isSpace())
        return true;
    if (!isSpaceEscape(text[last]))
        return false;
    // The letter is an escape only after an odd run of backslashes.
    qsizetype backslashes = 0;
    for (qsizetype i = last - 1; i >= 0 && text[i] == u'\\'; --i)
        ++backslashes;
    return backslashes % 2 == 1;
}

QString lineBreakCount(int n)
{
    return n == 1 ? QStringLiteral("1 line break") : QStringLiteral("%1 line breaks").arg(n);
}

// Explains which text has white space at one end ("starts" or "ends").
QString endDifference(bool inBase, const QString &verb)
{
    return inBase
               ? QStringLiteral("the base text %1 with white space, this text does not").arg(verb)
               : QStringLiteral("this text %1 with white space, the base text does not").arg(verb);
}

} // namespace

QList<CheckProblem> TranslationCheck::check(QStringView base, QStringView translation)
{
    QList<CheckProblem> problems;
    if (base.isEmpty() || translation.isEmpty() || base == translation)
        return problems;

    if (std::optional<QString> detail = FormatSpecifiers::mismatch(base, translation))
        problems.append({CheckKind::Format, std::move(*detail)});

    const int expectedBreaks = lineBreaks(base);
    const int foundBreaks = lineBreaks(translation);
    if (expectedBreaks != foundBreaks) {
        problems.append({CheckKind::LineBreaks,
                         QStringLiteral("%1 in the base text, %2 here")
                             .arg(lineBreakCount(expectedBreaks), QString::number(foundBreaks))});
    }

    const bool baseStarts = startsWithSpace(base);
    const bool baseEnds = endsWithSpace(base);
    QStringList ends;
    if (baseStarts != startsWithSpace(translation))
        ends << endDifference(baseStarts, QStringLiteral("starts"));
    if (baseEnds != endsWithSpace(translation))
        ends << endDifference(baseEnds, QStringLiteral("ends"));
    if (!ends.isEmpty())
        problems.append({CheckKind::Whitespace, ends.join(u"; ")});
    return problems;
}

QString TranslationCheck::name(CheckKind kind)
{
    switch (kind) {
    case CheckKind::Format:
        return QStringLiteral("format");
    case CheckKind::LineBreaks:
        return QStringLiteral("linebreaks");
    case CheckKind::Whitespace:
        return QStringLiteral("whitespace");
    case CheckKind::Plural:
        return QStringLiteral("plural");
    }
    return QString();
}

bool TranslationCheck::specifiersMatch(const QString &base, const QString &translation)
{
    return FormatSpecifiers::matches(base, translation);
}
