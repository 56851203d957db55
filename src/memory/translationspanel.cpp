// The translations panel's rules: cell texts, highlight, and edits.
#include "translationspanel.h"

#include "model/projectcheck.h"
#include "model/stringsdictdocument.h"
#include "model/variantfiles.h"

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
// The paths a language lists: its entry's, else the base entry's, with the
// categories its plural rules need added to each plural group.
QStringList variantPaths(const Row &row, const QString &language, const QStringList &candidates, bool catalog)
{
    const auto own = row.constFind(language);
    const Entry *shape = own != row.cend() && !own->variants.isEmpty() ? &*own
                                                                       : ProjectModel::baseEntryIn(row, candidates);
    if (!shape || shape->variants.isEmpty())
        return {};
    const QStringList &order = StringsDictDocument::pluralCategories();
    const QStringList required = StringsDictDocument::requiredCategories(language);
    QStringList paths;
    QStringList groups;
    for (const EntryVariant &variant : shape->variants) {
        const qsizetype cut = variant.path.lastIndexOf(u'/');
        const QString group = variant.path.left(cut + 1);
        const bool plural = cut >= 0 && order.contains(variant.path.mid(cut + 1))
                            && (!catalog || group.endsWith(QLatin1String("plural/")));
        if (!plural) {
            paths << variant.path;
            continue;
        }
        if (groups.contains(group))
            continue;
        groups << group;
        QStringList categories;
        for (const EntryVariant &other : shape->variants)
            if (other.path.startsWith(group) && !other.path.mid(group.size()).contains(u'/'))
                categories << other.path.mid(group.size());
        for (const QString &category : order)
            if (categories.contains(category) || required.contains(category))
                paths << group + category;
    }
    return paths;
}

int variableCount(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        if (!names.contains(path.section(u'/', 0, 0)))
            names << path.section(u'/', 0, 0);
    return int(names.size());
}

} // namespace

QString TranslationsPanel::title(PanelColumn column)
{
    return column == PanelColumn::Language ? QCoreApplication::translate("Column", "Language")
                                           : QCoreApplication::translate("Column", "Translation");
}

void TranslationsPanel::show(const QString &key, const Row &row, QStringList names, QStringList candidates)
{
    std::sort(names.begin(), names.end());
    rowKey = key;
    item = row;
    languages = names;
    lines.clear();
    const bool variantRow = VariantFiles::isVariantFile(key);
    if (candidates.isEmpty())
        candidates = ProjectModel().candidates();
    for (const QString &language : std::as_const(names)) {
        // Catalogs have no Base localization, and a save makes none.
        if (VariantFiles::isCatalog(key) && language == QLatin1String("Base"))
            continue;
        const QStringList paths =
            variantRow ? variantPaths(row, language, candidates, VariantFiles::isCatalog(key)) : QStringList();
        if (paths.isEmpty())
            lines.append({language, QString(), false});
        for (const QString &path : paths)
            lines.append({language, path, true});
    }
}

void TranslationsPanel::clear()
{
    rowKey.clear();
    item.reset();
    languages.reset();
    lines.clear();
}

int TranslationsPanel::rowCount() const { return languages ? int(lines.size()) : 0; }

QString TranslationsPanel::cellText(PanelColumn column, int index) const
{
    if (index < 0 || index >= rowCount())
        return {};
    const PanelLine &line = lines.at(index);
    const auto it = item ? item->constFind(line.language) : Row::const_iterator();
    const bool found = item && it != item->constEnd();
    const EntryVariant *variant = nullptr;
    if (found && line.variant) {
        const qsizetype primary = VariantFiles::primaryIndex(it->variants);
        for (qsizetype i = 0; i < it->variants.size(); ++i)
            if (it->variants.at(i).path == line.path && i != primary)
                variant = &it->variants.at(i);
    }
    if (column == PanelColumn::Language) {
        if (!line.variant)
            return line.language;
        const bool catalog = VariantFiles::isCatalog(rowKey);
        QStringList paths;
        for (const PanelLine &other : lines)
            if (other.language == line.language)
                paths << other.path;
        QString text = line.language;
        const QString label = VariantFiles::label(line.path, catalog, variableCount(paths));
        if (!label.isEmpty())
            text += QStringLiteral(" · ") + label;
        if (found)
            for (const EntryVariant &each : it->variants)
                if (each.path == line.path && !each.state.isEmpty())
                    text += QStringLiteral(" [") + each.state + u']';
        return text;
    }
    if (!found)
        return {};
    if (!line.variant)
        return it->value;
    if (variant)
        return variant->value;
    // The primary variant's text is the entry's value, which a command that
    // knows only values may have changed.
    const qsizetype primary = VariantFiles::primaryIndex(it->variants);
    return primary >= 0 && it->variants.at(primary).path == line.path ? it->value : QString();
}

bool TranslationsPanel::isEditable(PanelColumn column) { return column == PanelColumn::Translation; }

bool TranslationsPanel::isHighlighted(PanelColumn column, int index, const QStringList &candidates) const
{
    if (column != PanelColumn::Translation || index < 0 || index >= rowCount() || !item || item->isEmpty())
        return false;
    const QString &language = lines.at(index).language;
    const auto it = item->constFind(language);
    if (it == item->constEnd())
        return false;
    const std::optional<QString> base = baseLanguageOf(*item, candidates);
    if (!base || *base == language)
        return false;
    const QString text = cellText(PanelColumn::Translation, index);
    QString baseText = item->value(*base).value;
    if (lines.at(index).variant) {
        baseText.clear();
        for (qsizetype i = 0; i < rowCount(); ++i)
            if (lines.at(i).language == *base && lines.at(i).path == lines.at(index).path)
                baseText = cellText(PanelColumn::Translation, int(i));
    }
    return !text.isEmpty()
           && text.normalized(QString::NormalizationForm_C) == baseText.normalized(QString::NormalizationForm_C);
}

QList<CheckProblem> TranslationsPanel::problemsAt(int index, const QStringList &candidates,
                                                  const QStringList &ignored) const
{
    QList<CheckProblem> found;
    if (index < 0 || index >= rowCount() || !item)
        return found;
    // A line, not a language: a plural row lists a language once per category.
    const QString &language = lines.at(index).language;
    if (ignored.contains(language))
        return found;
    for (const LanguageProblem &p : ProjectCheck::checkRow(rowKey, *item, {language}, candidates))
        found.append(p.problem);
    return found;
}

std::optional<QString> TranslationsPanel::languageAt(int index) const
{
    if (index < 0 || index >= rowCount())
        return std::nullopt;
    return lines.at(index).language;
}

std::optional<QString> TranslationsPanel::pathAt(int index) const
{
    if (index < 0 || index >= rowCount() || !lines.at(index).variant)
        return std::nullopt;
    return lines.at(index).path;
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

bool TranslationsPanel::applyVariantEdit(Row &row, const QString &language, const QString &path,
                                         const QString &value, const QStringList &candidates, bool catalog)
{
    const std::optional<QString> base = baseLanguageOf(row, candidates);
    if (!base)
        return false;
    const auto found = row.constFind(language);
    Entry entry = found != row.cend() ? *found : Entry{row.value(*base).key, QString(), row.value(*base).comment, {}};
    // The value stands for the primary variant: bring it in first, so an
    // edit of another variant does not undo a change made to the value.
    if (const qsizetype primary = VariantFiles::primaryIndex(entry.variants); primary >= 0)
        entry.variants[primary].value = entry.value;
    qsizetype at = -1;
    for (qsizetype i = 0; i < entry.variants.size(); ++i)
        if (entry.variants.at(i).path == path)
            at = i;
    if (value.trimmed().isEmpty()) {
        if (at < 0)
            return true;
        entry.variants.removeAt(at);
    } else {
        const EntryVariant variant{path, value, catalog ? QStringLiteral("translated") : QString()};
        if (at >= 0) {
            entry.variants[at] = variant;
        } else {
            // After the last variant of the same group, so a category joins its siblings.
            const QString group = path.left(path.lastIndexOf(u'/') + 1);
            qsizetype insertAt = entry.variants.size();
            for (qsizetype i = 0; i < entry.variants.size(); ++i)
                if (!group.isEmpty() && entry.variants.at(i).path.startsWith(group))
                    insertAt = i + 1;
            entry.variants.insert(insertAt, variant);
        }
    }
    if (entry.variants.isEmpty()) {
        row.remove(language);
        return true;
    }
    entry.value = entry.variants.at(VariantFiles::primaryIndex(entry.variants)).value;
    row.insert(language, std::move(entry));
    return true;
}

bool TranslationsPanel::edit(int index, const QString &value, const QStringList &candidates)
{
    const std::optional<QString> language = languageAt(index);
    if (!item || !language)
        return false;
    if (lines.at(index).variant)
        return applyVariantEdit(*item, *language, lines.at(index).path, value, candidates,
                                VariantFiles::isCatalog(rowKey));
    return applyEdit(*item, *language, value, candidates);
}

bool TranslationsPanel::storeTranslation(ProjectModel &model, const QString &rowKey,
                                         const QString &language, const QString &value,
                                         const std::optional<QString> &path)
{
    const auto it = model.data.find(rowKey);
    if (rowKey.isEmpty() || it == model.data.end())
        return false;
    std::optional<QString> where = path;
    if (VariantFiles::isVariantFile(rowKey) && !where) {
        // Without a variant named, the text is the primary one's (the plain
        // unit or the "other" form, as the Value column shows it); replacing
        // the whole entry would drop the language's other categories.
        const auto own = it->constFind(language);
        for (const Entry *e : {own != it->cend() ? &*own : nullptr, ProjectModel::baseEntryIn(*it, model.candidates())})
            if (e && VariantFiles::primaryIndex(e->variants) >= 0) {
                where = e->variants.at(VariantFiles::primaryIndex(e->variants)).path;
                break;
            }
    }
    const bool variant = VariantFiles::isVariantFile(rowKey) && where;
    if (variant ? !applyVariantEdit(*it, language, *where, value, model.candidates(), VariantFiles::isCatalog(rowKey))
                : !applyEdit(*it, language, value, model.candidates()))
        return false;
    model.save();
    return true;
}
