// Matching imported texts to the project's rows by exact entry key.
#include "translationimport.h"

#include "memory/languages.h"
#include "model/plistreader.h"
#include "memory/scanner.h"
#include "model/heldtext.h"
#include "model/log.h"

#include <QFileInfo>
#include <QHash>

int TranslationImport::importTranslations(ProjectModel &model, const QString &folder,
                                          const SortDescriptor &sort, QList<SkippedPath> *skipped)
{
    const FindResult found =
        Scanner::findOutsideHidden(folder, QStringLiteral("f"), QStringLiteral("*.strings"));
    if (skipped)
        *skipped = found.skipped;
    const QStringList &files = found.paths;

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

    int stored = 0;
    for (const QString &file : files) {
        const auto language = Languages::languageForName(QFileInfo(file).fileName());
        if (!language)
            continue;
        Log::line(QStringLiteral("Loading ") + *language + QStringLiteral(" from ") + folder);
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
            model.data[rowKey].insert(*language, Entry{heldKey, HeldText::fromPlain(text), base->comment});
            ++stored;
        }
    }
    model.refresh(sort);
    return stored;
}
