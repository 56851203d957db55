// Bulk commands of the editor: case changes, copies of the base text, deletions.
#include "bulkcommands.h"

#include "editor/casechange.h"
#include "model/projectmodel.h"

namespace {

QStringList selectedKeys(const ProjectModel &model, const QList<int> &selection)
{
    QStringList keys;
    keys.reserve(selection.size());
    for (int index : selection) {
        if (index >= 0 && index < model.keys.size())
            keys.append(model.keys.at(index));
    }
    return keys;
}

CommandOutcome changeCase(ProjectModel &model, const QList<int> &selection, CaseChange::Kind kind)
{
    if (selection.isEmpty())
        return {};
    for (const QString &mk : selectedKeys(model, selection)) {
        const auto it = model.data.find(mk);
        if (it == model.data.end())
            continue;
        Row changed;
        for (auto e = it->cbegin(); e != it->cend(); ++e) {
            Entry entry = e.value();
            entry.value = CaseChange::apply(kind, entry.value, e.key());
            for (EntryVariant &variant : entry.variants)
                variant.value = CaseChange::apply(kind, variant.value, e.key());
            changed.insert(e.key(), entry);
        }
        *it = changed;
    }
    model.save();
    return {.saves = 1, .reloads = 1};
}

CommandOutcome copyFromBase(ProjectModel &model, const QList<int> &selection, bool keepPresent)
{
    const QStringList candidates = model.candidates();
    CommandOutcome outcome;
    for (const QString &mk : selectedKeys(model, selection)) {
        const auto it = model.data.find(mk);
        if (it == model.data.end())
            continue;
        const std::optional<Entry> base = ProjectModel::baseEntryOf(*it, candidates);
        if (!base)
            continue;
        Row copied;
        for (const QString &language : model.languages) {
            const auto own = it->constFind(language);
            copied.insert(language, keepPresent && own != it->cend() ? own.value() : *base);
        }
        *it = copied;
        model.save();
        ++outcome.saves;
        ++outcome.reloads;
    }
    return outcome;
}

} // namespace

CommandOutcome BulkCommands::capitalize(ProjectModel &model, const QList<int> &selection)
{
    return changeCase(model, selection, CaseChange::Kind::Capitalize);
}

CommandOutcome BulkCommands::upperCaase(ProjectModel &model, const QList<int> &selection)
{
    return changeCase(model, selection, CaseChange::Kind::Upper);
}

CommandOutcome BulkCommands::lowerCase(ProjectModel &model, const QList<int> &selection)
{
    return changeCase(model, selection, CaseChange::Kind::Lower);
}

CommandOutcome BulkCommands::copyBase(ProjectModel &model, const QList<int> &selection)
{
    return copyFromBase(model, selection, false);
}

CommandOutcome BulkCommands::copyMissingFromBase(ProjectModel &model, const QList<int> &selection)
{
    return copyFromBase(model, selection, true);
}

CommandOutcome BulkCommands::deleteTranslation(ProjectModel &model, const QList<int> &selection)
{
    if (selection.isEmpty())
        return {};
    const QStringList candidates = model.candidates();
    for (const QString &mk : selectedKeys(model, selection)) {
        const auto it = model.data.find(mk);
        if (it == model.data.end())
            continue;
        for (auto e = it->begin(); e != it->end();) {
            if (candidates.contains(e.key()))
                ++e;
            else
                e = it->erase(e);
        }
    }
    model.save();
    return {.saves = 1, .reloads = 1};
}

CommandOutcome BulkCommands::deleteString(ProjectModel &model, const QList<int> &selection)
{
    if (selection.isEmpty())
        return {};
    const QStringList candidates = model.candidates();
    for (const QString &mk : selectedKeys(model, selection)) {
        const auto it = model.data.constFind(mk);
        if (it == model.data.cend() || !ProjectModel::baseEntryOf(*it, candidates))
            continue;
        model.data.erase(it);
        model.keys.removeOne(mk);
    }
    model.save();
    return {.saves = 1, .reloads = 1, .clearSelection = true};
}
