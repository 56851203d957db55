// One row of the project: the entries of one key of one file, by language
// name. A sorted array with the part of QMap's interface the program uses:
// one small allocation per row instead of one per entry, and shared on copy.
#pragma once

#include "model/entry.h"
#include "model/heldnames.h"

#include <QList>
#include <QString>
#include <atomic>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <utility>

class Row
{
public:
    // A language name held once for the whole program. Rows point to it
    // instead of each holding a QString of its own: a project's rows outnumber
    // its languages by thousands, and a row of one entry is then an eighth
    // smaller. HeldNames::hold() gives it.
    using Language = HeldNames::Name;

private:
    struct Item
    {
        Language language;
        Entry entry;
    };

    template <typename Value> class Iterator
    {
        using ItemPointer = std::conditional_t<std::is_const_v<Value>, const Item *, Item *>;

    public:
        using iterator_category = std::random_access_iterator_tag;
        using difference_type = qsizetype;
        using value_type = Entry;
        using pointer = Value *;
        using reference = Value &;

        Iterator() = default;
        explicit Iterator(ItemPointer it) : m_it(it) {}
        // Converts an iterator over a writable row into one over a const row.
        template <typename OtherValue>
        Iterator(const Iterator<OtherValue> &other) : m_it(other.base())
        {
        }

        const QString &key() const { return *m_it->language; }
        reference value() const { return m_it->entry; }
        reference operator*() const { return m_it->entry; }
        pointer operator->() const { return &m_it->entry; }
        Iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        Iterator operator++(int) { return Iterator(m_it++); }
        Iterator &operator--()
        {
            --m_it;
            return *this;
        }
        difference_type operator-(const Iterator &other) const { return m_it - other.m_it; }
        friend bool operator==(const Iterator &a, const Iterator &b) { return a.m_it == b.m_it; }
        friend bool operator!=(const Iterator &a, const Iterator &b) { return !(a == b); }
        ItemPointer base() const { return m_it; }

    private:
        ItemPointer m_it = nullptr;
    };

public:
    using iterator = Iterator<Entry>;
    using const_iterator = Iterator<const Entry>;
    using key_type = QString;
    using mapped_type = Entry;
    using size_type = qsizetype;

    Row() = default;
    Row(std::initializer_list<std::pair<QString, Entry>> items);
    Row(const Row &other) noexcept : m_d(other.m_d)
    {
        if (m_d)
            m_d->ref.fetch_add(1, std::memory_order_relaxed);
    }
    Row(Row &&other) noexcept : m_d(std::exchange(other.m_d, nullptr)) {}
    Row &operator=(const Row &other) noexcept
    {
        Row copy(other);
        std::swap(m_d, copy.m_d);
        return *this;
    }
    Row &operator=(Row &&other) noexcept
    {
        std::swap(m_d, other.m_d);
        return *this;
    }
    ~Row()
    {
        if (m_d && m_d->ref.fetch_sub(1, std::memory_order_acq_rel) == 1)
            release(m_d);
    }

    qsizetype size() const { return m_d ? m_d->size : 0; }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return size() == 0; }

    const_iterator constFind(const QString &language) const;
    const_iterator find(const QString &language) const { return constFind(language); }
    iterator find(const QString &language);
    bool contains(const QString &language) const { return constFind(language) != cend(); }
    Entry value(const QString &language, const Entry &fallback = Entry()) const
    {
        const auto it = constFind(language);
        return it == cend() ? fallback : *it;
    }
    // Inserts or replaces the entry of a language.
    iterator insert(const QString &language, const Entry &entry)
    {
        return insert(language, Entry(entry));
    }
    iterator insert(const QString &language, Entry &&entry)
    {
        return insert(HeldNames::hold(language), std::move(entry));
    }
    iterator insert(Language language, Entry &&entry);
    // Adds the entry of a language that sorts after every language the row
    // holds, without searching for its place.
    void append(Language language, Entry &&entry);
    // The language of the last entry, which sorts after all others; the row
    // must not be empty.
    Language lastLanguage() const { return items()[m_d->size - 1].language; }
    // Room for `languages` entries in all, so that adding them allocates once.
    void reserve(qsizetype languages);
    Entry &operator[](const QString &language);
    qsizetype remove(const QString &language);
    // Removes the entry at `it`; returns the one after it.
    iterator erase(const_iterator it);
    // Language names in order.
    QList<QString> keys() const;
    // Where the row's entries are stored (null for an empty row), for a
    // caller that wants them fetched into the cache ahead of use.
    const void *storage() const { return m_d; }

    iterator begin() { return iterator(writableItems()); }
    iterator end() { return iterator(writableItems() + size()); }
    const_iterator begin() const { return cbegin(); }
    const_iterator end() const { return cend(); }
    const_iterator cbegin() const { return const_iterator(items()); }
    const_iterator cend() const { return const_iterator(items() + size()); }
    const_iterator constBegin() const { return cbegin(); }
    const_iterator constEnd() const { return cend(); }

    friend bool operator==(const Row &a, const Row &b);
    friend bool operator!=(const Row &a, const Row &b) { return !(a == b); }

private:
    // The row's entries follow this header in one allocation.
    struct Data
    {
        std::atomic<int> ref;
        quint16 size;
        quint16 capacity;
    };
    static_assert(sizeof(Data) % alignof(Item) == 0, "items follow the header unpadded");

    static Item *itemsOf(Data *d) { return reinterpret_cast<Item *>(d + 1); }
    const Item *items() const { return m_d ? itemsOf(m_d) : nullptr; }
    // The items, after making sure this row is their only holder.
    Item *writableItems()
    {
        if (m_d && m_d->ref.load(std::memory_order_acquire) != 1)
            reallocate(m_d->capacity);
        return m_d ? itemsOf(m_d) : nullptr;
    }
    // Makes this row the only holder of storage for `capacity` items.
    void reallocate(qsizetype capacity);
    // Room for one more item, this row the only holder.
    void prepareInsert();
    qsizetype lowerBound(const QString &language) const;
    static void release(Data *d);

    Data *m_d = nullptr;
};
