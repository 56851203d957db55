// The project model proper: base entries, status texts, cells, the row order
// and the filter. Loading and saving are in projectload.cpp and projectsave.cpp.
#include "model/projectmodel.h"

#include "common/languages.h"
#include "common/log.h"
#include "model/heldtext.h"
#include "model/parallelsort.h"
#include "model/projectfiles.h"
#include "model/textorder.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

namespace {

// What one row sorts by. Kept small, since the sort moves items about: the
// folded texts lie in one block of bytes, and status texts in a side list.
// The heads hold the bytes (code units for the row key) right after the start
// all items share, so that most comparisons end there without reaching into
// the texts. A text that ends inside a head is padded with zeros, which no
// byte or unit is below: when two heads differ they order their items as the
// whole texts would; equal heads leave the decision to the texts.
struct SortItem
{
    quint64 head[2] = {0, 0};    // sorting by key or value: 16 folded bytes
    quint64 keyHead[2] = {0, 0}; // eight code units of the row key
    const QString *rowKey = nullptr;
    qsizetype offset = -1;       // of its folded text in the block, when it has one
    int length = 0;              // of the folded text
    int keyStart = 0;            // where the key head starts in the row key
    int count = -1;              // sorting by status: the n of "OK (n)", or the
    int status = -1;             // index of a lowered "Missing: …" text
};

// Folded texts (TextOrder::sortKey) one after another.
class FoldedTexts
{
public:
    explicit FoldedTexts(qsizetype texts) { m_bytes.reserve(texts * 48); }
    void add(SortItem &item, const QString &text)
    {
        item.offset = m_bytes.size();
        TextOrder::appendSortKey(m_bytes, text);
        item.length = int(m_bytes.size() - item.offset);
        // The start shared with the first text, measured while the text is at hand.
        if (m_first < 0) {
            m_first = item.offset;
            m_shared = item.length;
            return;
        }
        const char *bytes = m_bytes.constData();
        qsizetype k = 0;
        const qsizetype n = std::min<qsizetype>(m_shared, item.length);
        while (k < n && bytes[item.offset + k] == bytes[m_first + k])
            ++k;
        m_shared = k;
    }
    void fillHead(SortItem &item) const
    {
        const auto *bytes = reinterpret_cast<const uchar *>(m_bytes.constData()) + item.offset;
        for (qsizetype k = 0; k < 16; ++k) {
            const qsizetype at = m_shared + k;
            quint64 &half = item.head[k / 8];
            half = (half << 8) | (at < item.length ? bytes[at] : 0);
        }
    }
    // Frees the texts; compare() and fillHead() must not be called after.
    void release() { m_bytes = QByteArray(); }
    // <0, 0, >0 by the folded texts' bytes, which is code-point order.
    int compare(const SortItem &a, const SortItem &b) const
    {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0] ? -1 : 1;
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1] ? -1 : 1;
        // Equal heads: the bytes up to the end of the shorter text or of the
        // heads are equal.
        const qsizetype common = std::min(a.length, b.length);
        const qsizetype from = std::min<qsizetype>(common, m_shared + 16);
        if (const int c = std::memcmp(m_bytes.constData() + a.offset + from, m_bytes.constData() + b.offset + from,
                                      size_t(common - from)))
            return c < 0 ? -1 : 1;
        return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
    }

private:
    QByteArray m_bytes;
    qsizetype m_first = -1;
    qsizetype m_shared = 0;
};

// The key heads: each row key's eight code units after the start it shares
// with the first row key and all before it, read while the row is at hand;
// then moved back to the start all row keys share. The units between the two
// starts are the first row key's.
class KeyHeads
{
public:
    void add(SortItem &item, const QString &rowKey)
    {
        if (!m_first) {
            m_first = &rowKey;
            m_shared = rowKey.size();
        }
        const qsizetype n = std::min(m_shared, rowKey.size());
        qsizetype k = 0;
        while (k < n && rowKey.constData()[k] == m_first->constData()[k])
            ++k;
        m_shared = k;
        item.keyStart = int(k);
        for (qsizetype j = 0; j < 8; ++j) {
            const qsizetype at = k + j;
            quint64 &half = item.keyHead[j / 4];
            half = (half << 16) | (at < rowKey.size() ? rowKey.constData()[at].unicode() : 0);
        }
    }
    void finish(std::vector<SortItem> &items) const
    {
        for (SortItem &item : items) {
            if (item.keyStart == m_shared)
                continue;
            quint64 head[2] = {0, 0};
            for (qsizetype j = 0; j < 8; ++j) {
                const qsizetype at = m_shared + j;
                const qsizetype own = at - item.keyStart;
                const quint64 unit = own < 0 ? m_first->constData()[at].unicode()
                                             : (item.keyHead[own / 4] >> (16 * (3 - own % 4))) & 0xffff;
                head[j / 4] = (head[j / 4] << 16) | unit;
            }
            item.keyHead[0] = head[0];
            item.keyHead[1] = head[1];
        }
    }

private:
    const QString *m_first = nullptr;
    qsizetype m_shared = 0;
};

} // namespace


QHash<QString, FileRows> ProjectModel::rowsPerFile() const
{
    // The two tables are filled together, so they mostly list their keys in
    // one order: each row is found by stepping along data, and looked up only
    // where the orders part. A large file's rows are then reached in the
    // order they lie in memory, not at random.
    const auto sameText = [](const QString &a, const QString &b) {
        return a.constData() == b.constData() && a.size() == b.size();
    };
    QHash<QString, FileRows> byFile;
    FileRows *current = nullptr;
    // The map holds each file name once (HeldNames): its address tells the
    // files apart.
    const QString *currentName = nullptr;
    const auto rowsOf = [&](const QString &name) -> FileRows & {
        if (&name != currentName) {
            current = &byFile[name];
            currentName = &name;
        }
        return *current;
    };
    // Counted first, so that each file's lists are allocated once, at their size.
    for (auto it = mapKeyToFile.cbegin(); it != mapKeyToFile.cend(); ++it)
        ++rowsOf(it.value()).counted;
    for (FileRows &file : byFile) {
        file.rowKeys.reserve(size_t(file.counted));
        file.rows.reserve(size_t(file.counted));
    }
    auto row = data.cbegin();
    for (auto it = mapKeyToFile.cbegin(); it != mapKeyToFile.cend(); ++it) {
        const QString &key = it.key();
        if (row == data.cend() || !sameText(row.key(), key))
            row = data.constFind(key);
        FileRows &file = rowsOf(it.value());
        file.rowKeys.push_back(&key);
        file.rows.push_back(row == data.cend() ? nullptr : &row.value());
        if (row != data.cend())
            ++row;
    }
    return byFile;
}

quint64 ProjectModel::fingerprintOf(const QHash<QString, FileRows> &rowsByFile, const KeptFile &kept) const
{
    const auto found = rowsByFile.constFind(kept.fileName);
    if (found == rowsByFile.cend())
        return 0;
    const FileRows &rows = *found;
    const QString &language = kept.language;
    // Order-free: a sum of one hash per entry.
    quint64 sum = 0;
    for (size_t i = 0; i < rows.rows.size(); ++i) {
        const Row *row = rows.rows[i];
        if (!row)
            continue;
        const auto entry = row->constFind(language);
        if (entry == row->cend())
            continue;
        size_t h = qHash(entry->key, 1);
        h = qHash(entry->value, h);
        h = qHash(entry->comment.value_or(QStringLiteral("\u0001")), h);
        sum += quint64(h) * 0x9E3779B97F4A7C15ull + qHash(*rows.rowKeys[i], 7);
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
    FoldedTexts folded(byKey || byValue ? data.size() : 0);
    KeyHeads keyHeads;
    std::vector<QString> statuses;
    // Rows are filtered before they are sorted: the filters look at one row at
    // a time, and a search that keeps few rows leaves little to sort.
    // The rows lie scattered in memory: those a few steps ahead are fetched
    // while this one is read.
    auto ahead = data.cbegin();
    for (int k = 0; k < 8 && ahead != data.cend(); ++k)
        ++ahead;
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        if (ahead != data.cend()) {
            __builtin_prefetch(ahead.key().constData());
            if (ahead->storage())
                __builtin_prefetch(ahead->storage());
            ++ahead;
        }
        if (hideTranslated && hasEveryLanguage(*it, counted))
            continue;
        if (keep && !keep(it.key(), *it))
            continue;
        SortItem item;
        item.rowKey = &it.key();
        keyHeads.add(item, it.key());
        if (byKey) {
            folded.add(item, it.key());
        } else if (byValue) {
            if (const Entry *base = baseEntryIn(*it, candidates))
                folded.add(item, base->value);
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
    for (SortItem &item : items)
        if (item.offset >= 0)
            folded.fillHead(item);
    keyHeads.finish(items);

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
        ParallelSort::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
            const bool comparableA = a.offset >= 0;
            if (comparableA != (b.offset >= 0))
                return comparableA;
            if (comparableA) {
                const int c = folded.compare(a, b);
                if (c != 0)
                    return ascending ? c < 0 : c > 0;
            }
            return tie(a, b);
        });
    } else if (byStatus) {
        ParallelSort::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
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
        ParallelSort::sort(items.begin(), items.end(), tie);
    }

    // The sort's texts go before the row keys' list is built, so that a large
    // project does not hold both.
    folded.release();
    statuses = {};
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
