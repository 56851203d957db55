// The translations panel's rules: cell texts, highlight, and edits.
#include "translationspanel.h"

#include "model/projectcheck.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

std::optional<QString> baseLanguageOf(const Row &row, const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (row.contains(candidate))
            return candidate;
    }
    return std::nullopt;
}
} // namespace

QString TranslationsPanel::title(PanelColumn column)
{
    return column == PanelColumn::Language ? QCoreApplication::translate("Column", "Language")
                                           : QCoreApplication::translate("Column", "Translation");
}

void TranslationsPanel::show(const QString &key, const Row &row, QStringList names)
{
    std::sort(names.begin(), names.end());
    rowKey = key;
    item = row;
    languages = names;
}

void TranslationsPanel::clear()
{
    rowKey.clear();
    item.reset();
    languages.reset();
}

int TranslationsPanel::rowCount() const { return languages ? int(languages->size()) : 0; }

QString TranslationsPanel::cellText(PanelColumn column, int index) const
{
    if (index < 0 || index >= rowCount())
        return {};
    const QString &language = languages->at(index);
    if (column == PanelColumn::Language)
        return language;
    if (!item)
        return {};
    const auto it = item->constFind(language);
    return it == item->constEnd() ? QString() : it->value;
}

bool TranslationsPanel::isEditable(PanelColumn column) { return column == PanelColumn::Translation; }

bool TranslationsPanel::isHighlighted(PanelColumn column, int index, const QStringList &candidates) const
{
    if (column != PanelColumn::Translation || index < 0 || index >= rowCount() || !item || item->isEmpty())
        return false;
    const QString &language = languages->at(index);
    const auto it = item->constFind(language);
    if (it == item->constEnd())
        return false;
    const std::optional<QString> base = baseLanguageOf(*item, candidates);
    if (!base || *base == language)
        return false;
    return it->value.normalized(QString::NormalizationForm_C)
        == item->value(*base).value.normalized(QString::NormalizationForm_C);
}

QList<CheckProblem> TranslationsPanel::problemsAt(int index, const QStringList &candidates,
                                                  const QStringList &ignored) const
{
    QList<CheckProblem> found;
    if (index < 0 || index >= rowCount() || !item)
        return found;
    const QString &language = languages->at(index);
    if (ignored.contains(language))
        return found;
    for (const LanguageProblem &p : ProjectCheck::checkRow(*item, {language}, candidates))
        found.append(p.problem);
    return found;
}

std::optional<QString> TranslationsPanel::languageAt(int index) const
{
    if (index < 0 || index >= rowCount())
        return std::nullopt;
    return languages->at(index);
}

bool TranslationsPanel::applyEdit(Row &row, const QString &language, const QString &value,
                                  const QStringList &candidates)
{
    const std::optional<QString> base = baseLanguageOf(row, candidates);
    if (!base)
        return false;
    const Entry baseEntry = row.value(*base);
    if (value.trimmed().isEmpty())
        row.remove(language);
    else
        row.insert(language, Entry{baseEntry.key, value, baseEntry.comment});
    return true;
}

bool TranslationsPanel::edit(int index, const QString &value, const QStringList &candidates)
{
    const std::optional<QString> language = languageAt(index);
    if (!item || !language)
        return false;
    return applyEdit(*item, *language, value, candidates);
}

bool TranslationsPanel::storeTranslation(ProjectModel &model, const QString &rowKey,
                                         const QString &language, const QString &value)
{
    const auto it = model.data.find(rowKey);
    if (rowKey.isEmpty() || it == model.data.end())
        return false;
    if (!applyEdit(*it, language, value, model.candidates()))
        return false;
    model.save();
    return true;
}
