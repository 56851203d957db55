// Filling rows from the translation memory.
#include "memoryfill.h"

#include "memory/databasemanagerv2.h"
#include "common/languages.h"
#include "common/log.h"
#include "model/projectmodel.h"

void MemoryFill::fillFromMemory(ProjectModel &model, const QString &rowKey,
                                const QStringList &candidates, const MemoryLookup &lookup)
{
    const auto it = model.data.find(rowKey);
    if (it == model.data.end())
        return;
    const std::optional<Entry> base = ProjectModel::baseEntryOf(*it, candidates);
    if (!base)
        return;
    for (const QString &candidate : candidates) {
        const std::optional<QMap<QString, QString>> record =
            lookup(Languages::normalizedCode(candidate), base->value);
        if (!record)
            continue;
        for (const QString &language : model.languages) {
            const auto text = record->constFind(Languages::normalizedCode(language));
            if (text != record->cend())
                VariantFiles::storeText(*it, language,
                                        Entry{base->key, ProjectModel::heldFor(rowKey, text.value()), base->comment});
        }
        return;
    }
}

CommandOutcome MemoryFill::autoTranslate(ProjectModel &model, const MemoryLookup &lookup)
{
    const QStringList candidates = model.candidates();
    for (const QString &mk : std::as_const(model.keys)) {
        const auto it = model.data.constFind(mk);
        // Entries of languages the project does not have (a cell edit adds
        // every base candidate) say nothing about what is missing.
        if (it != model.data.cend() && ProjectModel::hasEveryLanguage(*it, model.languages)) {
            Log::line(QStringLiteral("Already fully translated: ") + mk);
            continue;
        }
        fillFromMemory(model, mk, candidates, lookup);
    }
    model.save();
    return {.saves = 1, .reloads = 1};
}

CommandOutcome MemoryFill::autoTranslateSelected(ProjectModel &model, const QList<int> &selection,
                                                 const MemoryLookup &lookup)
{
    if (selection.isEmpty())
        return {};
    const QStringList candidates = model.candidates();
    for (int index : selection) {
        if (index >= 0 && index < model.keys.size())
            fillFromMemory(model, model.keys.at(index), candidates, lookup);
    }
    model.save();
    return {.saves = 1, .reloads = 1};
}

MemoryLookup MemoryFill::sharedMemory()
{
    return [](const QString &column, const QString &text) {
        return DatabaseManagerV2::shared().lookupText(column, text);
    };
}
