// Key collation through ICU, with sort keys for sorting whole files.
#include "model/keycollator.h"

#include <QLocale>
#include <algorithm>
#include <cstring>
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
    // Every sort key is computed once and kept in one block; the sort then
    // compares bytes. Keys of one file share a long start ("screen.title."),
    // so each item carries the eight bytes after that shared start: most
    // comparisons end there, without reaching into the block.
    struct Item
    {
        quint64 head;
        qsizetype offset;
        qsizetype length;
        qsizetype index;
    };
    std::vector<Item> items(size_t(texts.size()));
    QByteArray block;
    std::vector<uint8_t> buffer(256);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &text = texts.at(i);
        const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
        int32_t needed = ucol_getSortKey(m_collator, chars, int32_t(text.size()), buffer.data(), int32_t(buffer.size()));
        if (needed > int32_t(buffer.size())) {
            buffer.resize(size_t(needed));
            needed = ucol_getSortKey(m_collator, chars, int32_t(text.size()), buffer.data(), int32_t(buffer.size()));
        }
        items[size_t(i)] = {0, block.size(), needed, i};
        block.append(reinterpret_cast<const char *>(buffer.data()), needed);
    }
    const auto *bytes = reinterpret_cast<const uchar *>(block.constData());
    qsizetype shared = items.empty() ? 0 : items.front().length;
    for (const Item &item : items) {
        qsizetype k = 0;
        while (k < shared && k < item.length && bytes[item.offset + k] == bytes[items.front().offset + k])
            ++k;
        shared = k;
    }
    for (Item &item : items) {
        for (qsizetype k = 0; k < 8; ++k) {
            const qsizetype at = shared + k;
            item.head = (item.head << 8) | (at < item.length ? bytes[item.offset + at] : 0);
        }
    }
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.head != b.head)
            return a.head < b.head;
        const qsizetype from = std::min({a.length, b.length, shared + 8});
        const qsizetype common = std::min(a.length, b.length) - from;
        if (const int c = std::memcmp(bytes + a.offset + from, bytes + b.offset + from, size_t(common)))
            return c < 0;
        if (a.length != b.length)
            return a.length < b.length;
        return texts.at(a.index) < texts.at(b.index);
    });
    QStringList sorted;
    sorted.reserve(texts.size());
    for (const Item &item : items)
        sorted << texts.at(item.index);
    return sorted;
}
