// The language table and its name rules.
#include "common/languages.h"

#include "common/log.h"

#include <QFileInfo>
#include <algorithm>

namespace {

struct Tables
{
    QHash<QString, QString> names;
    QStringList sorted;
    // First code of each name in table order, so "Spanish" maps to "es".
    QHash<QString, QString> codeByName;
    QHash<QString, QString> codeByLowerName;
};

const Tables &tables()
{
    static const Tables t = [] {
        static const char *const table[][2] = {
            {"ar", "Arabic"},
            {"ca", "Catalan"},
            {"cs", "Czech"},
            {"da", "Danish"},
            {"de", "German"},
            {"el", "Greek"},
            {"en", "English"},
            {"en_US", "English (US)"},
            {"en_AU", "English (AU)"},
            {"en_CA", "English (CA)"},
            {"en_GB", "English (GB)"},
            {"es", "Spanish"},
            {"es_ES", "Spanish"},
            {"es_MX", "Spanish (MX)"},
            {"fi", "Finnish"},
            {"fr", "French"},
            {"fr_CA", "French (CA)"},
            {"he", "Hebrew"},
            {"hi", "Hindi"},
            {"hr", "Croatian"},
            {"hu", "Hungarian"},
            {"id", "Indonesian"},
            {"it", "Italian"},
            {"ja", "Japanese"},
            {"ko", "Korean"},
            {"ms", "Malay"},
            {"nl", "Dutch"},
            {"nb", "Norwegian"},
            {"pl", "Polish"},
            {"pt", "Portuguese"},
            {"pt_PT", "Portuguese (PT)"},
            {"pt_BR", "Portuguese (BR)"},
            {"ro", "Romanian"},
            {"ru", "Russian"},
            {"sk", "Slovak"},
            {"sv", "Swedish"},
            {"th", "Thai"},
            {"tr", "Turkish"},
            {"uk", "Ukrainian"},
            {"vi", "Vietnamese"},
            {"zh_Hans", "Chinese (Simplified)"},
            {"zh_Hant", "Chinese (Traditional)"},
            {"zh_HK", "Chinese (Hong Kong)"},
        };
        Tables t;
        for (const auto &row : table) {
            const QString code = QString::fromLatin1(row[0]);
            const QString name = QString::fromLatin1(row[1]);
            t.names.insert(code, name);
            t.codeByName.insert(name, t.codeByName.value(name, code));
            t.codeByLowerName.insert(name.toLower(), t.codeByLowerName.value(name.toLower(), code));
            t.sorted << code;
        }
        std::sort(t.sorted.begin(), t.sorted.end(),
                  [](const QString &a, const QString &b) { return a.compare(b) < 0; });
        return t;
    }();
    return t;
}

QString stem(const QString &name)
{
    const int slash = name.lastIndexOf(QLatin1Char('/'));
    const QString last = slash >= 0 ? name.mid(slash + 1) : name;
    const int dot = last.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? last.left(dot) : last;
}

} // namespace

const QHash<QString, QString> &Languages::names() { return tables().names; }

bool Languages::isKnownCode(const QString &text) { return tables().names.contains(text); }

const QStringList &Languages::sortedCodes() { return tables().sorted; }

std::optional<QString> Languages::codeForName(const QString &name)
{
    const auto &byName = tables().codeByName;
    const auto it = byName.constFind(name);
    if (it == byName.constEnd())
        return std::nullopt;
    return *it;
}

QString Languages::normalizedCode(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('-'), QLatin1Char('_'));
    if (isKnownCode(s))
        return s;
    static const QHash<QString, QString> aliases{
        {QStringLiteral("Base"), QStringLiteral("en_US")},
        {QStringLiteral("dk"), QStringLiteral("da")},
        {QStringLiteral("es_419"), QStringLiteral("es_MX")},
        {QStringLiteral("no"), QStringLiteral("nb")},
        {QStringLiteral("zh_CN"), QStringLiteral("zh_Hans")},
        {QStringLiteral("zh_TW"), QStringLiteral("zh_Hant")},
    };
    return aliases.value(s, s);
}

std::optional<QString> Languages::languageForFolder(const QString &folderPath)
{
    QString name = stem(folderPath);
    if (const auto code = codeForName(name))
        name = *code;
    const QString code = normalizedCode(name);
    if (isKnownCode(code))
        return code;
    return std::nullopt;
}

std::optional<QString> Languages::languageForName(const QString &name)
{
    const QString s = stem(name);
    for (const QString &code : sortedCodes()) {
        QString hyphenated = code;
        hyphenated.replace(QLatin1Char('_'), QLatin1Char('-'));
        if (hyphenated == s)
            return s;
    }

    const QString lower = name.toLower();
    QStringList parts;
    QString current;
    for (const QChar c : lower) {
        if (c.isPunct()) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;

    const auto &byLowerName = tables().codeByLowerName;
    for (const QString &part : parts) {
        const QString c = normalizedCode(part);
        if (isKnownCode(c))
            return c;
        const auto it = byLowerName.constFind(c);
        if (it != byLowerName.constEnd())
            return *it;
        Log::line(QStringLiteral("Couldn't find for ") + c);
    }
    return std::nullopt;
}

const QStringList &Languages::defaultBaseLanguages()
{
    static const QStringList list{QStringLiteral("Base"), QStringLiteral("en"), QStringLiteral("en-US")};
    return list;
}
