// Plural and review checks of the rows read from .stringsdict and .xcstrings files.
#include "model/pluralcheck.h"

#include "model/formatspecifiers.h"
#include "model/stringsdictdocument.h"
#include "model/variantfiles.h"

namespace {

// The plural group of a path and its category, or nothing when the path is
// not a plural category.
bool splitPlural(const QString &path, bool catalog, QString *group, QString *category)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    if (cut < 0)
        return false;
    *group = path.left(cut + 1);
    *category = path.mid(cut + 1);
    if (catalog && !group->endsWith(QLatin1String("plural/")))
        return false;
    return StringsDictDocument::pluralCategories().contains(*category);
}

QString textAt(const Entry &entry, const QString &path)
{
    const qsizetype primary = VariantFiles::primaryIndex(entry.variants);
    for (qsizetype i = 0; i < entry.variants.size(); ++i)
        if (entry.variants.at(i).path == path)
            return i == primary ? entry.value : entry.variants.at(i).value;
    return QString();
}

} // namespace

QList<PluralProblem> PluralCheck::check(const QString &rowKey, const Row &row, const QStringList &candidates,
                                        const QStringList &languages)
{
    QList<PluralProblem> problems;
    if (!VariantFiles::isVariantFile(rowKey))
        return problems;
    const bool catalog = VariantFiles::isCatalog(rowKey);
    const Entry *base = nullptr;
    QString baseLanguage;
    for (const QString &candidate : candidates) {
        const auto it = row.constFind(candidate);
        if (it != row.cend()) {
            base = &*it;
            baseLanguage = candidate;
            break;
        }
    }
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        const QString &language = it.key();
        if (!languages.isEmpty() && !languages.contains(language))
            continue;
        const Entry &entry = *it;
        QStringList groups;
        QList<QStringList> categories;
        for (const EntryVariant &variant : entry.variants) {
            QString group;
            QString category;
            if (!splitPlural(variant.path, catalog, &group, &category))
                continue;
            qsizetype at = groups.indexOf(group);
            if (at < 0) {
                groups << group;
                categories.append(QStringList());
                at = groups.size() - 1;
            }
            categories[at] << category;
        }
        const QStringList required = StringsDictDocument::requiredCategories(language);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            QStringList missing;
            for (const QString &category : required)
                if (!categories.at(g).contains(category))
                    missing << category;
            if (!missing.isEmpty()) {
                QString where = groups.at(g);
                where.chop(1);
                problems.append({language, QStringLiteral("plural"),
                                 QStringLiteral("lacks ") + missing.join(QStringLiteral(", ")) + QStringLiteral(" (")
                                     + where + u')'});
            }
        }
        if (base && language != baseLanguage) {
            for (const EntryVariant &variant : entry.variants) {
                const QString text = textAt(entry, variant.path);
                if (!text.contains(u'%'))
                    continue;
                // A base category may leave out the number ("one folder"):
                // plural texts are held against their group's "other" form.
                QString baseText;
                QString group;
                QString category;
                if (splitPlural(variant.path, catalog, &group, &category))
                    baseText = textAt(*base, group + QStringLiteral("other"));
                if (baseText.isEmpty())
                    baseText = textAt(*base, variant.path);
                if (baseText.isEmpty())
                    continue;
                if (const std::optional<QString> mismatch = FormatSpecifiers::mismatch(baseText, text)) {
                    const QString label = VariantFiles::label(variant.path, catalog, 2);
                    problems.append({language, QStringLiteral("plural"),
                                     (label.isEmpty() ? QString() : label + QStringLiteral(": ")) + *mismatch});
                }
            }
        }
        for (const EntryVariant &variant : entry.variants)
            if (variant.state == QLatin1String("needs_review")) {
                const QString label = VariantFiles::label(variant.path, catalog, 2);
                problems.append({language, QStringLiteral("review"),
                                 QStringLiteral("needs review") + (label.isEmpty() ? QString() : QStringLiteral(" (") + label + u')')});
            }
    }
    return problems;
}
