// Filling rows from the translation memory.
#include "memoryfill.h"

#include "memory/databasemanagerv2.h"
#include "common/languages.h"
#include "common/log.h"
#include "model/projectmodel.h"
#include "model/translationcheck.h"

#include <QCoreApplication>

QString MemoryFill::refusedMessage(int refused)
{
    if (refused == 0)
        return QString();
    return QCoreApplication::translate("MemoryFill",
                                       "%n text(s) were not filled in: their format specifiers do not "
                                       "match the base text.",
                                       "", refused);
}

int MemoryFill::fillFromMemory(ProjectModel &model, const QString &rowKey,
                               const QStringList &candidates, const MemoryLookup &lookup)
{
    const auto it = model.data.find(rowKey);
    if (it == model.data.end())
        return 0;
    const std::optional<Entry> base = ProjectModel::baseEntryOf(*it, candidates);
    if (!base)
        return 0;
    for (const QString &candidate : candidates) {
        const std::optional<QMap<QString, QString>> record =
            lookup(Languages::normalizedCode(candidate), base->value);
        if (!record)
            continue;
        int refused = 0;
        for (const QString &language : model.languages) {
            const auto text = record->constFind(Languages::normalizedCode(language));
            if (text == record->cend())
                continue;
            const QString held = ProjectModel::heldFor(rowKey, text.value());
            // A text that reads other arguments than the base text would
            // crash or garble the app; it is left out, like a failed lookup.
            if (!TranslationCheck::specifiersMatch(base->value, held)) {
                Log::line(QStringLiteral("Memory text for ") + language + QStringLiteral(" of ") + rowKey
                          + QStringLiteral(" not used: its format specifiers do not match the base text"));
                ++refused;
                continue;
            }
            VariantFiles::storeText(*it, language, Entry{base->key, held, base->comment});
        }
        return refused;
    }
    return 0;
}

CommandOutcome MemoryFill::autoTranslate(ProjectModel &model, const MemoryLookup &lookup)
{
    const QStringList candidates = model.candidates();
    int refused = 0;
    for (const QString &mk : std::as_const(model.keys)) {
        const auto it = model.data.constFind(mk);
        // Entries of languages the project does not have (a cell edit adds
        // every base candidate) say nothing about what is missing.
        if (it != model.data.cend() && ProjectModel::hasEveryLanguage(*it, model.languages)) {
            Log::line(QStringLiteral("Already fully translated: ") + mk);
            continue;
        }
        refused += fillFromMemory(model, mk, candidates, lookup);
    }
    model.save();
    return {.saves = 1, .reloads = 1, .message = refusedMessage(refused)};
}

CommandOutcome MemoryFill::autoTranslateSelected(ProjectModel &model, const QList<int> &selection,
                                                 const MemoryLookup &lookup)
{
    if (selection.isEmpty())
        return {};
    const QStringList candidates = model.candidates();
    int refused = 0;
    for (int index : selection) {
        if (index >= 0 && index < model.keys.size())
            refused += fillFromMemory(model, model.keys.at(index), candidates, lookup);
    }
    model.save();
    return {.saves = 1, .reloads = 1, .message = refusedMessage(refused)};
}

MemoryLookup MemoryFill::sharedMemory()
{
    return [](const QString &column, const QString &text) {
        return DatabaseManagerV2::shared().lookupText(column, text);
    };
}
