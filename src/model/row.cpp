// The storage of a row: entries sorted by language in one shared allocation,
// copied only when a shared row is written to.
#include "model/row.h"

#include <algorithm>
#include <limits>
#include <new>

Row::Row(std::initializer_list<std::pair<QString, Entry>> items)
{
    for (const auto &item : items)
        insert(item.first, item.second);
}

qsizetype Row::lowerBound(const QString &language) const
{
    const Item *begin = items();
    const Item *at = std::lower_bound(
        begin, begin + size(), language,
        [](const Item &item, const QString &name) { return *item.language < name; });
    return at - begin;
}

Row::const_iterator Row::constFind(const QString &language) const
{
    const qsizetype at = lowerBound(language);
    return at < size() && *items()[at].language == language ? const_iterator(items() + at) : cend();
}

Row::iterator Row::find(const QString &language)
{
    const qsizetype at = constFind(language) - cbegin();
    if (at == size())
        return end();
    return iterator(writableItems() + at);
}

Row::iterator Row::insert(Language language, Entry &&entry)
{
    // Entries mostly arrive in language order: try the end first.
    qsizetype at = size();
    if (at > 0 && !(*items()[at - 1].language < *language))
        at = lowerBound(*language);
    if (at < size() && *items()[at].language == *language) {
        Item *item = writableItems() + at;
        item->entry = std::move(entry);
        return iterator(item);
    }
    prepareInsert();
    Item *first = itemsOf(m_d);
    Item *last = first + m_d->size;
    if (last == first + at) {
        new (last) Item{language, std::move(entry)};
    } else {
        new (last) Item(std::move(last[-1]));
        std::move_backward(first + at, last - 1, last);
        first[at] = Item{language, std::move(entry)};
    }
    ++m_d->size;
    return iterator(first + at);
}

void Row::append(Language language, Entry &&entry)
{
    Q_ASSERT(isEmpty() || *lastLanguage() < *language);
    prepareInsert();
    new (itemsOf(m_d) + m_d->size) Item{language, std::move(entry)};
    ++m_d->size;
}

void Row::reserve(qsizetype languages)
{
    if (languages > (m_d ? m_d->capacity : 0) ||
        (m_d && m_d->ref.load(std::memory_order_acquire) != 1))
        reallocate(std::max(languages, size()));
}

Entry &Row::operator[](const QString &language)
{
    iterator it = find(language);
    if (it == end())
        it = insert(language, Entry());
    return *it;
}

qsizetype Row::remove(const QString &language)
{
    const auto it = constFind(language);
    if (it == cend())
        return 0;
    erase(it);
    return 1;
}

Row::iterator Row::erase(const_iterator it)
{
    const qsizetype at = it - cbegin();
    Item *first = writableItems();
    Item *last = first + m_d->size;
    std::move(first + at + 1, last, first + at);
    last[-1].~Item();
    --m_d->size;
    return iterator(first + at);
}

QList<QString> Row::keys() const
{
    QList<QString> names;
    names.reserve(size());
    for (auto it = cbegin(); it != cend(); ++it)
        names.append(it.key());
    return names;
}

bool operator==(const Row &a, const Row &b)
{
    if (a.size() != b.size())
        return false;
    if (a.m_d == b.m_d)
        return true;
    return std::equal(a.items(), a.items() + a.size(), b.items(),
                      [](const Row::Item &x, const Row::Item &y) {
                          return *x.language == *y.language && x.entry == y.entry;
                      });
}

void Row::reallocate(qsizetype capacity)
{
    if (capacity > std::numeric_limits<quint16>::max())
        throw std::bad_alloc();
    auto *d = static_cast<Data *>(::operator new(sizeof(Data) + size_t(capacity) * sizeof(Item)));
    new (d) Data{{1}, 0, quint16(capacity)};
    if (m_d) {
        Item *from = itemsOf(m_d);
        Item *to = itemsOf(d);
        const bool only = m_d->ref.load(std::memory_order_acquire) == 1;
        for (quint16 i = 0; i < m_d->size; ++i) {
            if (only)
                new (to + i) Item(std::move(from[i]));
            else
                new (to + i) Item(from[i]);
            ++d->size;
        }
    }
    Row old;
    old.m_d = std::exchange(m_d, d);
}

void Row::prepareInsert()
{
    if (!m_d)
        reallocate(1);
    else if (m_d->size == m_d->capacity)
        reallocate(qsizetype(m_d->capacity) + std::max<qsizetype>(1, m_d->capacity / 2));
    else if (m_d->ref.load(std::memory_order_acquire) != 1)
        reallocate(m_d->capacity);
}

void Row::release(Data *d)
{
    Item *items = itemsOf(d);
    for (quint16 i = 0; i < d->size; ++i)
        items[i].~Item();
    d->~Data();
    ::operator delete(d);
}
