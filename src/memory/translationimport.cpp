// Matching imported texts to the project's rows by exact entry key.
#include "translationimport.h"

#include "common/languages.h"
#include "model/plistreader.h"
#include "memory/scanner.h"
#include "model/heldtext.h"
#include "common/log.h"

#include <QFileInfo>
#include <QHash>

std::optional<QString> TranslationImport::projectLanguageFor(const QString &fileName,
                                                             const QStringList &languages)
{
    const auto matching = [&languages](const QString &code) -> std::optional<QString> {
        for (const QString &language : languages)
            if (Languages::normalizedCode(language) == code)
                return language;
        return std::nullopt;
    };
    const QFileInfo info(fileName);
    if (const auto exact = matching(Languages::normalizedCode(info.completeBaseName())))
        return exact;
    const auto named = Languages::languageForName(info.fileName());
    if (!named)
        return std::nullopt;
    return matching(Languages::normalizedCode(*named));
}

ImportResult TranslationImport::importTranslations(ProjectModel &model, const QString &folder)
{
    ImportResult result;
    const FindResult found =
        Scanner::findOutsideHidden(folder, QStringLiteral("f"), QStringLiteral("*.strings"));
    result.skipped = found.skipped;

    // The row key is the entry key, "-" and the row's file name; a row key that
    // merely begins with the key belongs to a longer key ("Save" vs "SaveAs").
    QHash<QString, QString> firstRowOfKey;
    for (const QString &rowKey : std::as_const(model.keys)) {
        const QString suffix = QLatin1Char('-') + model.mapKeyToFile.value(rowKey);
        if (!rowKey.endsWith(suffix))
            continue;
        // Imported keys arrive with their escapes resolved.
        const QString entryKey = HeldText::toPlain(rowKey.chopped(suffix.size()));
        if (!firstRowOfKey.contains(entryKey))
            firstRowOfKey.insert(entryKey, rowKey);
    }

    for (const QString &file : found.paths) {
        const QString name = QFileInfo(file).fileName();
        const std::optional<QString> language = projectLanguageFor(name, model.languages);
        const std::optional<QString> named = language ? language : Languages::languageForName(name);
        if (!named)
            continue;
        Log::line(QStringLiteral("Loading ") + *named + QStringLiteral(" from ") + folder);
        if (!language) {
            Log::line(QStringLiteral("Not importing ") + file + QStringLiteral(": the project has no language ")
                      + *named);
            result.unmatched.append({file, *named});
            continue;
        }
        const auto strings = PlistReader::readFile(file);
        if (!strings)
            continue;
        for (const auto &[key, text] : *strings) {
            const auto target = firstRowOfKey.constFind(key);
            if (target == firstRowOfKey.constEnd())
                continue;
            const auto base = model.baseEntry(*target);
            if (!base)
                continue;
            const QString &rowKey = *target;
            const QString heldKey = rowKey.chopped(model.mapKeyToFile.value(rowKey).size() + 1);
            VariantFiles::storeText(model.data[rowKey], *language,
                                    Entry{heldKey, ProjectModel::heldFor(rowKey, text), base->comment});
            ++result.stored;
        }
    }
    model.save();
    return result;
}
