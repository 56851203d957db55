// The fixed table of the 43 language codes the program knows, with an English
// name each, and the rules that turn folder, file and column names into codes.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class Languages
{
public:
    // The base-language candidates when none are chosen: "Base", "en", "en-US".
    static const QStringList &defaultBaseLanguages();

    // Code to English name. Built once, thread-safely, then read-only.
    static const QHash<QString, QString> &names();

    static bool isKnownCode(const QString &text);
    // All codes in ascending code-point order; also the memory table's column order.
    static const QStringList &sortedCodes();
    // The code whose name equals the text exactly ("Spanish" gives "es").
    static std::optional<QString> codeForName(const QString &name);
    // A project language name to a memory column: hyphens become underscores,
    // a few aliases are mapped ("Base" to "en_US"); anything else comes back as is.
    static QString normalizedCode(const QString &text);
    // The column for a language folder path ("/x/Base.lproj" gives "en_US").
    static std::optional<QString> languageForFolder(const QString &folderPath);
    // The language of a file name or the alias of a memory column. Logs
    // "Couldn't find for " for every part tried in vain.
    static std::optional<QString> languageForName(const QString &name);
};
