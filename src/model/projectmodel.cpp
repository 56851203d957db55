// The project model proper: base entries, status texts, cells, the row order
// and the filter. Loading and saving are in projectload.cpp and projectsave.cpp.
#include "model/projectmodel.h"

#include "common/languages.h"
#include "common/log.h"
#include "model/heldtext.h"
#include "model/projectfiles.h"
#include "model/textorder.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// What one row sorts by, computed once per refresh.
struct SortItem
{
    const QString *rowKey;
    QByteArray key;  // sorting by key or value: compared as bytes
    QString status;  // sorting by status
    bool comparable = true;
};

} // namespace


QHash<QString, QStringList> ProjectModel::rowKeysPerFile() const
{
    QHash<QString, QStringList> rowKeysByFile;
    for (auto it = mapKeyToFile.cbegin(); it != mapKeyToFile.cend(); ++it)
        rowKeysByFile[it.value()].append(it.key());
    return rowKeysByFile;
}

quint64 ProjectModel::fingerprintOf(const QStringList &rowKeys, const QString &language) const
{
    // Order-free: a sum of one hash per entry.
    quint64 sum = 0;
    for (const QString &rowKey : rowKeys) {
        const auto row = data.constFind(rowKey);
        if (row == data.cend())
            continue;
        const auto entry = row->constFind(language);
        if (entry == row->cend())
            continue;
        size_t h = qHash(entry->key, 1);
        h = qHash(entry->value, h);
        h = qHash(entry->comment.value_or(QStringLiteral("\u0001")), h);
        sum += quint64(h) * 0x9E3779B97F4A7C15ull + qHash(rowKey, 7);
    }
    return sum;
}

bool ProjectModel::isTxtRowKey(const QString &rowKey)
{
    return rowKey.endsWith(ProjectFiles::TxtSuffix);
}

QString ProjectModel::heldFor(const QString &rowKey, const QString &plain)
{
    return isTxtRowKey(rowKey) ? plain : HeldText::fromPlain(plain);
}

bool ProjectModel::hasEveryLanguage(const Row &row, const QStringList &languages)
{
    return std::all_of(languages.cbegin(), languages.cend(),
                       [&row](const QString &language) { return row.contains(language); });
}

const Entry *ProjectModel::baseEntryIn(const Row &row, const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        const auto it = row.constFind(candidate);
        if (it != row.cend())
            return &it.value();
    }
    return nullptr;
}

std::optional<Entry> ProjectModel::baseEntryOf(const Row &row, const QStringList &candidates)
{
    if (const Entry *entry = baseEntryIn(row, candidates))
        return *entry;
    return std::nullopt;
}

std::optional<Entry> ProjectModel::baseEntry(const QString &rowKey) const
{
    const auto row = data.constFind(rowKey);
    if (row == data.cend())
        return std::nullopt;
    return baseEntryOf(*row, candidates());
}

QString ProjectModel::statusTextOf(const Row *row, const QStringList &languages,
                                   const QStringList &candidates)
{
    if (!row)
        return QStringLiteral("!");
    QStringList missing;
    for (const QString &language : languages)
        if (!row->contains(language))
            missing.append(language);
    if (!missing.isEmpty()) {
        TextOrder::sortByCodePoints(missing);
        return QCoreApplication::translate("ProjectModel", "Missing: %1").arg(missing.join(QStringLiteral(", ")));
    }
    int same = 0;
    if (const Entry *base = baseEntryIn(*row, candidates)) {
        for (const QString &language : languages) {
            const auto entry = row->constFind(language);
            if (entry != row->cend() && entry->value == base->value)
                ++same;
        }
    }
    return QCoreApplication::translate("ProjectModel", "OK (%1)").arg(same);
}

QString ProjectModel::statusText(const QString &rowKey) const
{
    return statusText(rowKey, candidates());
}

QString ProjectModel::statusText(const QString &rowKey, const QStringList &candidates) const
{
    const auto row = data.constFind(rowKey);
    return statusTextOf(row == data.cend() ? nullptr : &row.value(), languages, candidates);
}

QString ProjectModel::cellText(int index, Column column) const
{
    return cellText(index, column, candidates());
}

QString ProjectModel::cellText(int index, Column column, const QStringList &candidates) const
{
    if (index < 0 || index >= keys.size())
        return {};
    const QString &rowKey = keys.at(index);
    if (column == Column::Status)
        return statusText(rowKey, candidates);
    if (column == Column::File)
        return mapKeyToFile.value(rowKey);
    const auto row = data.constFind(rowKey);
    const Entry *base = row == data.cend() ? nullptr : baseEntryIn(*row, candidates);
    if (!base)
        return {};
    if (column == Column::Key)
        return base->key;
    if (column == Column::Value)
        return base->value;
    return base->comment.value_or(QString());
}

bool ProjectModel::isTranslated(const QString &rowKey) const
{
    const auto row = data.constFind(rowKey);
    return row != data.cend() && hasEveryLanguage(*row, languages);
}

bool ProjectModel::lessThan(const QString &a, const QString &b, const SortDescriptor &sort,
                            const QStringList &candidates) const
{
    int c = 0;
    if (sort.column == Column::Key) {
        c = TextOrder::compareCodePoints(TextOrder::sortFold(a), TextOrder::sortFold(b));
    } else if (sort.column == Column::Value) {
        const auto ra = data.constFind(a);
        const auto rb = data.constFind(b);
        const Entry *ba = ra == data.cend() ? nullptr : baseEntryIn(*ra, candidates);
        const Entry *bb = rb == data.cend() ? nullptr : baseEntryIn(*rb, candidates);
        if (!ba || !bb)
            return false;
        c = TextOrder::compareCodePoints(TextOrder::sortFold(ba->value), TextOrder::sortFold(bb->value));
    } else if (sort.column == Column::Status) {
        c = TextOrder::compareNumeric(statusText(a, candidates).toLower(),
                                      statusText(b, candidates).toLower());
    } else {
        return false;
    }
    return sort.ascending ? c < 0 : c > 0;
}

void ProjectModel::rebuildKeys(const SortDescriptor &sort, bool hideTranslated)
{
    rebuildKeys(sort, hideTranslated, candidates());
}

void ProjectModel::rebuildKeys(const SortDescriptor &sort, bool hideTranslated,
                               const QStringList &candidates)
{
    const bool byKey = sort.column == Column::Key;
    const bool byValue = sort.column == Column::Value;
    const bool byStatus = sort.column == Column::Status;
    std::vector<SortItem> items;
    items.reserve(size_t(data.size()));
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        SortItem item{&it.key(), {}, {}, true};
        if (byKey) {
            item.key = TextOrder::sortKey(it.key());
        } else if (byValue) {
            const Entry *base = baseEntryIn(*it, candidates);
            item.comparable = base != nullptr;
            if (base)
                item.key = TextOrder::sortKey(base->value);
        } else if (byStatus) {
            item.status = statusTextOf(&*it, languages, candidates).toLower();
        }
        items.push_back(std::move(item));
    }

    // The comparisons leave ties unordered; the row keys' code units order
    // them, so the result is repeatable. Rows without a base value compare
    // with nothing; they go after the others.
    const bool ascending = sort.ascending;
    const auto tie = [](const SortItem &a, const SortItem &b) { return *a.rowKey < *b.rowKey; };
    if (byKey || byValue) {
        std::sort(items.begin(), items.end(), [ascending, &tie](const SortItem &a, const SortItem &b) {
            if (a.comparable != b.comparable)
                return a.comparable;
            if (a.comparable && a.key != b.key)
                return ascending ? a.key < b.key : b.key < a.key;
            return tie(a, b);
        });
    } else if (byStatus) {
        std::sort(items.begin(), items.end(), [ascending, &tie](const SortItem &a, const SortItem &b) {
            const int c = TextOrder::compareNumeric(a.status, b.status);
            if (c != 0)
                return ascending ? c < 0 : c > 0;
            return tie(a, b);
        });
    } else {
        std::sort(items.begin(), items.end(), tie);
    }

    keys.clear();
    keys.reserve(qsizetype(items.size()));
    for (const SortItem &item : items) {
        if (hideTranslated && isTranslated(*item.rowKey))
            continue;
        keys.append(*item.rowKey);
    }
}

QStringList ProjectModel::candidates() const
{
    return baseLanguages ? baseLanguages() : Languages::defaultBaseLanguages();
}

QString ProjectModel::title() const
{
    return QString::number(keys.size()) + QStringLiteral(" - ") + projectURL;
}
