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
// What one row sorts by. Kept small, since the sort moves items about: a
// folded key of a text that is not all ASCII, and a status text, live in
// side lists.
struct SortItem
{
    const QString *rowKey = nullptr;
    const Row *row = nullptr;
    const QString *text = nullptr; // sorting by key or value
    int folded = -1;               // index of its folded key, when it is not all ASCII
    int count = -1;                // sorting by status: the n of "OK (n)", or the
    int status = -1;               // index of a lowered "Missing: …" text
    bool comparable = true;
};

// The byte at `i` of an item's folded text: an ASCII text lowered on the fly.
inline int foldedByte(const SortItem &item, const std::vector<QByteArray> &folded, qsizetype i)
{
    if (item.folded >= 0) {
        const QByteArray &key = folded[size_t(item.folded)];
        return i < key.size() ? uchar(key.at(i)) : -1;
    }
    if (i >= item.text->size())
        return -1;
    const char16_t c = item.text->at(i).unicode();
    return c >= u'A' && c <= u'Z' ? c + 32 : c;
}

int compareFolded(const SortItem &a, const SortItem &b, const std::vector<QByteArray> &folded)
{
    if (a.folded < 0 && b.folded < 0) {
        const auto *x = reinterpret_cast<const char16_t *>(a.text->utf16());
        const auto *y = reinterpret_cast<const char16_t *>(b.text->utf16());
        const qsizetype n = std::min(a.text->size(), b.text->size());
        for (qsizetype i = 0; i < n; ++i) {
            if (x[i] == y[i])
                continue;
            const char16_t lx = x[i] >= u'A' && x[i] <= u'Z' ? x[i] + 32 : x[i];
            const char16_t ly = y[i] >= u'A' && y[i] <= u'Z' ? y[i] + 32 : y[i];
            if (lx != ly)
                return lx < ly ? -1 : 1;
        }
        return a.text->size() == b.text->size() ? 0 : (a.text->size() < b.text->size() ? -1 : 1);
    }
    const qsizetype sizeA = a.folded >= 0 ? folded[size_t(a.folded)].size() : a.text->size();
    const qsizetype sizeB = b.folded >= 0 ? folded[size_t(b.folded)].size() : b.text->size();
    for (qsizetype i = 0; i < std::min(sizeA, sizeB); ++i) {
        const int x = foldedByte(a, folded, i);
        const int y = foldedByte(b, folded, i);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return sizeA == sizeB ? 0 : (sizeA < sizeB ? -1 : 1);
}

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
    return QCoreApplication::translate("ProjectModel", "OK (%1)").arg(statusCount(*row, languages, candidates));
}

QString ProjectModel::statusText(const QString &rowKey) const
{
    return statusText(rowKey, candidates());
}

QString ProjectModel::statusText(const QString &rowKey, const QStringList &candidates) const
{
    const auto row = data.constFind(rowKey);
    return statusTextOf(row == data.cend() ? nullptr : &row.value(), countedLanguages(), candidates);
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
    return row != data.cend() && hasEveryLanguage(*row, countedLanguages());
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
                               const QStringList &candidates,
                               const std::function<bool(const QString &rowKey)> &keep)
{
    const QStringList counted = countedLanguages();
    const bool byKey = sort.column == Column::Key;
    const bool byValue = sort.column == Column::Value;
    const bool byStatus = sort.column == Column::Status;
    std::vector<SortItem> items;
    items.reserve(size_t(data.size()));
    std::vector<QByteArray> folded;
    std::vector<QString> statuses;
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        SortItem item;
        item.rowKey = &it.key();
        item.row = &it.value();
        if (byKey || byValue) {
            const Entry *base = byValue ? baseEntryIn(*it, candidates) : nullptr;
            item.comparable = byKey || base;
            item.text = byKey ? &it.key() : base ? &base->value : nullptr;
            // ASCII texts are compared as they stand, ignoring case; only the
            // others need a folded key of their own.
            if (item.text && !TextOrder::isAscii(*item.text)) {
                item.folded = int(folded.size());
                folded.push_back(TextOrder::sortKey(*item.text));
            }
        } else if (byStatus) {
            // "Missing: …" sorts before "OK (n)"; the OK rows by n.
            if (hasEveryLanguage(*it, counted)) {
                item.count = statusCount(*it, counted, candidates);
            } else {
                item.status = int(statuses.size());
                statuses.push_back(statusTextOf(&*it, counted, candidates).toLower());
            }
        }
        items.push_back(item);
    }

    // The comparisons leave ties unordered; the row keys' code units order
    // them, so the result is repeatable. Rows without a base value compare
    // with nothing; they go after the others.
    const bool ascending = sort.ascending;
    const auto tie = [](const SortItem &a, const SortItem &b) { return *a.rowKey < *b.rowKey; };
    if (byKey || byValue) {
        std::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
            if (a.comparable != b.comparable)
                return a.comparable;
            if (a.comparable) {
                const int c = compareFolded(a, b, folded);
                if (c != 0)
                    return ascending ? c < 0 : c > 0;
            }
            return tie(a, b);
        });
    } else if (byStatus) {
        std::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
            int c = 0;
            if ((a.status >= 0) != (b.status >= 0))
                c = a.status >= 0 ? -1 : 1;
            else if (a.status >= 0)
                c = TextOrder::compareNumeric(statuses[size_t(a.status)], statuses[size_t(b.status)]);
            else
                c = a.count == b.count ? 0 : (a.count < b.count ? -1 : 1);
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
        if (hideTranslated && hasEveryLanguage(*item.row, counted))
            continue;
        if (keep && !keep(*item.rowKey))
            continue;
        keys.append(*item.rowKey);
    }
}

int ProjectModel::statusCount(const Row &row, const QStringList &languages, const QStringList &candidates)
{
    int same = 0;
    if (const Entry *base = baseEntryIn(row, candidates)) {
        for (const QString &language : languages) {
            const auto entry = row.constFind(language);
            if (entry != row.cend() && entry->value == base->value)
                ++same;
        }
    }
    return same;
}

QStringList ProjectModel::candidates() const
{
    return baseLanguages ? baseLanguages() : Languages::defaultBaseLanguages();
}

QStringList ProjectModel::ignored() const
{
    return ignoredLanguages ? ignoredLanguages() : QStringList();
}

QStringList ProjectModel::countedLanguages() const
{
    const QStringList skipped = ignored();
    if (skipped.isEmpty())
        return languages;
    QStringList counted;
    for (const QString &language : languages)
        if (!skipped.contains(language))
            counted.append(language);
    return counted;
}

QString ProjectModel::title() const
{
    return QString::number(keys.size()) + QStringLiteral(" - ") + projectURL;
}
