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

// What one row sorts by. Kept small, since the sort moves items about: a
// folded key of a text that is not all ASCII, and a status text, live in
// side lists. The heads hold the bytes (code units for the row key) right
// after the start all items share, so that most comparisons end there
// without reaching into the texts.
struct SortItem
{
    quint64 head[2] = {0, 0};      // sorting by key or value: 16 folded bytes
    quint64 keyHead[2] = {0, 0};   // eight code units of the row key
    const QString *rowKey = nullptr;
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
    const char16_t c = item.text->constData()[i].unicode();
    return c >= u'A' && c <= u'Z' ? c + 32 : c;
}

int compareFolded(const SortItem &a, const SortItem &b, const std::vector<QByteArray> &folded)
{
    if (a.folded < 0 && b.folded < 0) {
        const auto *x = reinterpret_cast<const char16_t *>(a.text->constData());
        const auto *y = reinterpret_cast<const char16_t *>(b.text->constData());
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

// Narrows `shared`, the length of the start that the folded texts seen so far
// share with the first one's, by one more item.
void narrowSharedBytes(const SortItem &item, const SortItem &first, const std::vector<QByteArray> &folded,
                       qsizetype &shared)
{
    qsizetype k = 0;
    while (k < shared && foldedByte(item, folded, k) == foldedByte(first, folded, k))
        ++k;
    shared = k;
}

void narrowSharedUnits(const QString &rowKey, const QString &first, qsizetype &shared)
{
    const qsizetype n = std::min(shared, rowKey.size());
    qsizetype k = 0;
    while (k < n && rowKey.constData()[k] == first.constData()[k])
        ++k;
    shared = k;
}

// Fills the heads from the ends of the shared starts. A text that ends inside
// a head is padded with zeros, which no byte or unit is below: when two heads
// differ they order their items as the whole texts would; equal heads leave
// the decision to the texts.
void fillHeads(std::vector<SortItem> &items, const std::vector<QByteArray> &folded, qsizetype sharedBytes,
               qsizetype sharedUnits)
{
    for (SortItem &item : items) {
        if (item.comparable && item.text) {
            for (qsizetype k = 0; k < 16; ++k) {
                quint64 &half = item.head[k / 8];
                half = (half << 8) | quint64(std::max(0, foldedByte(item, folded, sharedBytes + k)));
            }
        }
        const QString &rowKey = *item.rowKey;
        for (qsizetype k = 0; k < 8; ++k) {
            const qsizetype at = sharedUnits + k;
            quint64 &half = item.keyHead[k / 4];
            half = (half << 16) | (at < rowKey.size() ? rowKey.constData()[at].unicode() : 0);
        }
    }
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
                               const QStringList &candidates, const RowFilter &keep)
{
    const QStringList counted = countedLanguages();
    const bool byKey = sort.column == Column::Key;
    const bool byValue = sort.column == Column::Value;
    const bool byStatus = sort.column == Column::Status;
    std::vector<SortItem> items;
    items.reserve(size_t(data.size()));
    std::vector<QByteArray> folded;
    std::vector<QString> statuses;
    // The starts all texts and all row keys share, measured while each text
    // is at hand.
    qsizetype sharedBytes = -1;
    qsizetype sharedUnits = -1;
    qsizetype firstText = -1;
    // Rows are filtered before they are sorted: the filters look at one row at
    // a time, and a search that keeps few rows leaves little to sort.
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        if (hideTranslated && hasEveryLanguage(*it, counted))
            continue;
        if (keep && !keep(it.key(), *it))
            continue;
        SortItem item;
        item.rowKey = &it.key();
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
        if (sharedUnits < 0)
            sharedUnits = it.key().size();
        else
            narrowSharedUnits(it.key(), *items.front().rowKey, sharedUnits);
        if (item.comparable && item.text) {
            if (firstText < 0) {
                firstText = qsizetype(items.size()) - 1;
                sharedBytes = item.folded >= 0 ? folded.back().size() : item.text->size();
            } else {
                narrowSharedBytes(item, items[size_t(firstText)], folded, sharedBytes);
            }
        }
    }
    fillHeads(items, folded, std::max<qsizetype>(sharedBytes, 0), std::max<qsizetype>(sharedUnits, 0));

    // The comparisons leave ties unordered; the row keys' code units order
    // them, so the result is repeatable. Rows without a base value compare
    // with nothing; they go after the others.
    const bool ascending = sort.ascending;
    const auto tie = [](const SortItem &a, const SortItem &b) {
        if (a.keyHead[0] != b.keyHead[0])
            return a.keyHead[0] < b.keyHead[0];
        if (a.keyHead[1] != b.keyHead[1])
            return a.keyHead[1] < b.keyHead[1];
        return *a.rowKey < *b.rowKey;
    };
    if (byKey || byValue) {
        std::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
            if (a.comparable != b.comparable)
                return a.comparable;
            if (a.comparable) {
                int c = 0;
                if (a.head[0] != b.head[0])
                    c = a.head[0] < b.head[0] ? -1 : 1;
                else if (a.head[1] != b.head[1])
                    c = a.head[1] < b.head[1] ? -1 : 1;
                else
                    c = compareFolded(a, b, folded);
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

    QStringList sorted;
    sorted.reserve(qsizetype(items.size()));
    for (const SortItem &item : items)
        sorted.append(*item.rowKey);
    keys.swap(sorted);
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
