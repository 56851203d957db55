// Key collation through ICU, with sort keys for sorting whole files.
#include "model/keycollator.h"

#include "model/projectfiles.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <numeric>
#include <unicode/ucol.h>
#include <vector>

KeyCollator::KeyCollator(const QString &locale)
{
    const QString name = locale.isEmpty() ? QLocale().name() : locale;
    const QByteArray icuLocale = name == QLatin1String("C") ? QByteArray() : name.toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(icuLocale.constData(), &status);
    if (U_FAILURE(status) && m_collator) {
        ucol_close(m_collator);
        m_collator = nullptr;
    }
}

KeyCollator::~KeyCollator()
{
    if (m_collator)
        ucol_close(m_collator);
}

int KeyCollator::compare(QStringView a, QStringView b) const
{
    if (m_collator) {
        const UCollationResult result =
            ucol_strcoll(m_collator, reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                         reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size()));
        if (result != UCOL_EQUAL)
            return result == UCOL_LESS ? -1 : 1;
    }
    return a.compare(b);
}

QStringList KeyCollator::sorted(const QStringList &texts) const
{
    if (!m_collator) {
        QStringList sorted = texts;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    // Every sort key is computed once and kept in a block; the sort then
    // compares bytes. Keys of one file share a long start ("screen.title."),
    // so each item carries the eight bytes after that shared start: most
    // comparisons end there, without reaching into the blocks. A large file's
    // keys are computed in pieces in parallel, each with its own collator.
    struct Item
    {
        quint64 head;
        const uchar *key;
        qsizetype length;
        qsizetype index;
    };
    constexpr qsizetype PieceTexts = 16384;
    const qsizetype pieces = (texts.size() + PieceTexts - 1) / PieceTexts;
    std::vector<Item> items(size_t(texts.size()));
    std::vector<QByteArray> blocks(static_cast<size_t>(pieces));
    // Pieces whose collator could not be cloned are not done; the texts are
    // then sorted by compare() instead.
    std::atomic<qsizetype> piecesDone{0};
    const auto computePiece = [&](qsizetype piece) {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *collator = pieces > 1 ? ucol_clone(m_collator, &status) : m_collator;
        if (U_FAILURE(status) || !collator)
            return;
        const qsizetype first = piece * PieceTexts;
        const qsizetype end = std::min(texts.size(), first + PieceTexts);
        QByteArray &block = blocks[size_t(piece)];
        std::vector<uint8_t> buffer(256);
        std::vector<qsizetype> offsets;
        offsets.reserve(size_t(end - first));
        for (qsizetype i = first; i < end; ++i) {
            const QString &text = texts.at(i);
            const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
            int32_t needed = ucol_getSortKey(collator, chars, int32_t(text.size()), buffer.data(), int32_t(buffer.size()));
            if (needed > int32_t(buffer.size())) {
                buffer.resize(size_t(needed));
                needed = ucol_getSortKey(collator, chars, int32_t(text.size()), buffer.data(), int32_t(buffer.size()));
            }
            offsets.push_back(block.size());
            items[size_t(i)] = {0, nullptr, needed, i};
            block.append(reinterpret_cast<const char *>(buffer.data()), needed);
        }
        // The block is whole now and moves no more.
        const auto *bytes = reinterpret_cast<const uchar *>(block.constData());
        for (qsizetype i = first; i < end; ++i)
            items[size_t(i)].key = bytes + offsets[size_t(i - first)];
        if (collator != m_collator)
            ucol_close(collator);
        piecesDone.fetch_add(1, std::memory_order_release);
    };
    std::vector<qsizetype> pieceIndexes(static_cast<size_t>(pieces));
    std::iota(pieceIndexes.begin(), pieceIndexes.end(), 0);
    ProjectFiles::forEach(pieceIndexes.begin(), pieceIndexes.end(), pieces > 1, computePiece);
    // Released by each piece done, so that its writes are seen here by thread
    // checkers too, not only through the pool's own hand-off.
    if (piecesDone.load(std::memory_order_acquire) != pieces) {
        QStringList sorted = texts;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [this](const QString &a, const QString &b) { return compare(a, b) < 0; });
        return sorted;
    }
    qsizetype shared = items.empty() ? 0 : items.front().length;
    for (const Item &item : items) {
        qsizetype k = 0;
        while (k < shared && k < item.length && item.key[k] == items.front().key[k])
            ++k;
        shared = k;
    }
    for (Item &item : items) {
        for (qsizetype k = 0; k < 8; ++k) {
            const qsizetype at = shared + k;
            item.head = (item.head << 8) | (at < item.length ? item.key[at] : 0);
        }
    }
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const qsizetype from = std::min({a.length, b.length, shared + 8});
        const qsizetype common = std::min(a.length, b.length) - from;
        if (const int c = std::memcmp(a.key + from, b.key + from, size_t(common)))
            return c < 0;
        if (a.length != b.length)
            return a.length < b.length;
        return texts.at(a.index) < texts.at(b.index);
    });
    // The sort keys go before the sorted list is built: for a large file they
    // are more than the list.
    blocks = {};
    QStringList sorted;
    sorted.reserve(texts.size());
    for (const Item &item : items)
        sorted << texts.at(item.index);
    return sorted;
}
