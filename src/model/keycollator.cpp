// Key collation through ICU, with sort keys for sorting whole files.
#include "model/keycollator.h"

#include "model/parallelsort.h"
#include "model/projectfiles.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
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

namespace {

// Sort keys of one collator, computed into a buffer that is reused.
class SortKeys
{
public:
    explicit SortKeys(UCollator *collator) : m_collator(collator) {}

    // The text's sort key, its terminating zero included; valid until the next call.
    QByteArrayView of(QStringView text)
    {
        const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
        int32_t length = ucol_getSortKey(m_collator, chars, int32_t(text.size()), m_buffer.data(),
                                         int32_t(m_buffer.size()));
        if (length > int32_t(m_buffer.size())) {
            m_buffer.resize(size_t(length));
            length = ucol_getSortKey(m_collator, chars, int32_t(text.size()), m_buffer.data(),
                                     int32_t(m_buffer.size()));
        }
        return QByteArrayView(m_buffer.data(), length);
    }

private:
    UCollator *m_collator;
    std::vector<uint8_t> m_buffer = std::vector<uint8_t>(256);
};

qsizetype commonLength(QByteArrayView a, QByteArrayView b, qsizetype limit)
{
    const qsizetype most = std::min({a.size(), b.size(), limit});
    qsizetype k = 0;
    while (k < most && a[k] == b[k])
        ++k;
    return k;
}

} // namespace

std::vector<quint32> KeyCollator::order(const std::vector<const QString *> &texts) const
{
    Q_ASSERT(texts.size() <= std::numeric_limits<quint32>::max());
    const auto byCompare = [&] {
        std::vector<quint32> order(texts.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](quint32 a, quint32 b) { return compare(*texts[a], *texts[b]) < 0; });
        return order;
    };
    if (!m_collator || texts.size() < 2)
        return byCompare();
    // A sort key is longer than its text's UTF-16 (some fifty bytes for forty
    // letters), and keeping them all would hold more than the texts for a
    // large file. Each item carries sixteen bytes of its text's sort key
    // instead, those after the start it shares with a reference key (the
    // keys of a file share a long start: "screen.title."). Two keys that
    // share a start of different lengths with the reference differ from each
    // other where the shorter one leaves it, so its first byte settles their
    // order. Keys alike in their sixteen bytes are compared afterwards by
    // whole sort keys, computed again for them alone. A large file's keys
    // are computed in parallel pieces, each with its own collator.
    struct Item
    {
        quint64 high; // the sixteen bytes from `shared`, big-endian, zero after the key's end
        quint64 low;
        quint32 shared; // bytes shared with the reference, at most `sharedMost`
        quint32 index;
    };
    const qsizetype count = qsizetype(texts.size());
    SortKeys ownKeys(m_collator);
    const QByteArray reference = ownKeys.of(*texts.front()).toByteArray();
    // The start that a few texts from across the list share; a key sharing
    // less is still ordered right, only through its first byte.
    qsizetype sharedMost = reference.size();
    constexpr qsizetype Samples = 64;
    for (qsizetype s = 1; s < Samples; ++s)
        sharedMost = commonLength(
            reference, ownKeys.of(*texts[size_t(s * (count - 1) / (Samples - 1))]), sharedMost);
    const auto itemOf = [&](QByteArrayView key, qsizetype index) {
        const qsizetype shared = commonLength(reference, key, sharedMost);
        quint64 head[2] = {0, 0};
        for (qsizetype k = 0; k < 16; ++k) {
            const qsizetype at = shared + k;
            head[k / 8] = (head[k / 8] << 8) | quint8(at < key.size() ? key[at] : 0);
        }
        return Item{head[0], head[1], quint32(shared), quint32(index)};
    };

    constexpr qsizetype PieceTexts = 16384;
    const qsizetype pieces = (count + PieceTexts - 1) / PieceTexts;
    std::vector<Item> items(static_cast<size_t>(count));
    // Pieces whose collator could not be cloned are not done; the texts are
    // then sorted by compare() instead.
    std::atomic<qsizetype> piecesDone{0};
    const auto computePiece = [&](qsizetype piece) {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *collator = pieces > 1 ? ucol_clone(m_collator, &status) : m_collator;
        if (U_FAILURE(status) || !collator)
            return;
        SortKeys keys(collator);
        const qsizetype end = std::min(count, (piece + 1) * PieceTexts);
        for (qsizetype i = piece * PieceTexts; i < end; ++i) {
            // The texts lie scattered in memory: a later one is fetched while
            // this one's key is computed, its string a little earlier.
            if (i + 16 < end)
                __builtin_prefetch(texts[size_t(i + 16)]);
            if (i + 8 < end)
                __builtin_prefetch(texts[size_t(i + 8)]->constData());
            items[size_t(i)] = itemOf(keys.of(*texts[size_t(i)]), i);
        }
        if (collator != m_collator)
            ucol_close(collator);
        piecesDone.fetch_add(1, std::memory_order_relaxed);
    };
    std::vector<qsizetype> pieceIndexes(static_cast<size_t>(pieces));
    std::iota(pieceIndexes.begin(), pieceIndexes.end(), 0);
    ProjectFiles::forEach(pieceIndexes.begin(), pieceIndexes.end(), pieces > 1, computePiece);
    if (piecesDone.load(std::memory_order_relaxed) != pieces)
        return byCompare();
    const auto sameHead = [](const Item &a, const Item &b) {
        return a.shared == b.shared && a.high == b.high && a.low == b.low;
    };
    const auto byHead = [&](const Item &a, const Item &b) {
        if (a.shared == b.shared)
            return a.high != b.high ? a.high < b.high : a.low < b.low;
        // The one sharing less differs from the reference, and so from the
        // other, at its first byte.
        if (a.shared < b.shared)
            return quint8(a.high >> 56) < quint8(reference[a.shared]);
        return quint8(b.high >> 56) > quint8(reference[b.shared]);
    };
    ParallelSort::sort(items.begin(), items.end(), byHead);
    // Runs alike in their sixteen bytes. A sort key holds no zero but its
    // last byte, so a run whose bytes end in zero holds equal keys, ordered
    // by code units; any other run by whole keys, then code units.
    for (auto run = items.begin(); run != items.end();) {
        auto runEnd = std::find_if(run + 1, items.end(),
                                   [&](const Item &item) { return !sameHead(*run, item); });
        if (runEnd - run > 1) {
            if ((run->low & 0xff) == 0) {
                std::sort(run, runEnd, [&](const Item &a, const Item &b) {
                    return *texts[a.index] < *texts[b.index];
                });
            } else {
                std::vector<std::pair<QByteArray, quint32>> whole;
                whole.reserve(size_t(runEnd - run));
                for (auto it = run; it != runEnd; ++it)
                    whole.emplace_back(ownKeys.of(*texts[it->index]).toByteArray(), it->index);
                std::sort(whole.begin(), whole.end(), [&](const auto &a, const auto &b) {
                    if (a.first != b.first)
                        return a.first < b.first;
                    return *texts[a.second] < *texts[b.second];
                });
                for (size_t k = 0; k < whole.size(); ++k)
                    run[qsizetype(k)].index = whole[k].second;
            }
        }
        run = runEnd;
    }

    std::vector<quint32> order(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        order[size_t(i)] = items[size_t(i)].index;
    return order;
}
