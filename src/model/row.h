// One row of the project: the entries of one key of one file, by language
// name. A sorted array with the part of QMap's interface the program uses:
// one allocation per row instead of one per entry, and shared on copy.
#pragma once

#include "model/entry.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <initializer_list>
#include <utility>

class Row
{
    using Item = std::pair<QString, Entry>;
    using Items = QList<Item>;

    template<typename Base, typename Value>
    class Iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using difference_type = qsizetype;
        using value_type = Entry;
        using pointer = Value *;
        using reference = Value &;

        Iterator() = default;
        explicit Iterator(Base it) : m_it(it) {}
        // Converts an iterator over a writable row into one over a const row.
        template<typename OtherBase, typename OtherValue>
        Iterator(const Iterator<OtherBase, OtherValue> &other) : m_it(other.base())
        {
        }

        const QString &key() const { return m_it->first; }
        reference value() const { return m_it->second; }
        reference operator*() const { return m_it->second; }
        pointer operator->() const { return &m_it->second; }
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
        friend bool operator!=(const Iterator &a, const Iterator &b) { return a.m_it != b.m_it; }
        Base base() const { return m_it; }

    private:
        Base m_it{};
    };

public:
    using iterator = Iterator<Items::iterator, Entry>;
    using const_iterator = Iterator<Items::const_iterator, const Entry>;
    using key_type = QString;
    using mapped_type = Entry;
    using size_type = qsizetype;

    Row() = default;
    Row(std::initializer_list<Item> items)
    {
        for (const Item &item : items)
            insert(item.first, item.second);
    }

    // Builds a row from items already sorted by language, each language once.
    static Row fromSorted(Items items)
    {
        Row row;
        row.m_items = std::move(items);
        return row;
    }

    qsizetype size() const { return m_items.size(); }
    qsizetype count() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }

    const_iterator constFind(const QString &language) const
    {
        const auto it = lowerBound(language);
        return it != m_items.cend() && it->first == language ? const_iterator(it) : cend();
    }
    const_iterator find(const QString &language) const { return constFind(language); }
    iterator find(const QString &language)
    {
        const auto found = constFind(language);
        if (found == cend())
            return end();
        const qsizetype at = found.base() - m_items.cbegin();
        return iterator(m_items.begin() + at);
    }
    bool contains(const QString &language) const { return constFind(language) != cend(); }
    Entry value(const QString &language, const Entry &fallback = Entry()) const
    {
        const auto it = constFind(language);
        return it == cend() ? fallback : *it;
    }
    // Inserts or replaces the entry of a language.
    iterator insert(const QString &language, const Entry &entry) { return insert(language, Entry(entry)); }
    iterator insert(const QString &language, Entry &&entry)
    {
        // Entries mostly arrive in language order: try the end first.
        qsizetype at = m_items.size();
        if (at > 0 && !(m_items.constLast().first < language))
            at = lowerBound(language) - m_items.cbegin();
        if (at < m_items.size() && m_items.at(at).first == language)
            m_items[at].second = std::move(entry);
        else
            m_items.insert(at, Item(language, std::move(entry)));
        return iterator(m_items.begin() + at);
    }
    // Adds the entry of a language that sorts after every language the row
    // holds, without searching for its place.
    void append(const QString &language, Entry &&entry)
    {
        Q_ASSERT(m_items.isEmpty() || m_items.constLast().first < language);
        m_items.emplaceBack(language, std::move(entry));
    }
    // The language of the last entry, which sorts after all others; the row
    // must not be empty.
    const QString &lastLanguage() const { return m_items.constLast().first; }
    void reserve(qsizetype languages) { m_items.reserve(languages); }
    Entry &operator[](const QString &language)
    {
        iterator it = find(language);
        if (it == end())
            it = insert(language, Entry());
        return *it;
    }
    qsizetype remove(const QString &language)
    {
        const auto it = constFind(language);
        if (it == cend())
            return 0;
        m_items.removeAt(it.base() - m_items.cbegin());
        return 1;
    }
    // Removes the entry at `it`; returns the one after it.
    iterator erase(const_iterator it)
    {
        const qsizetype at = it.base() - m_items.cbegin();
        m_items.removeAt(at);
        return iterator(m_items.begin() + at);
    }
    // Language names in order.
    QList<QString> keys() const
    {
        QList<QString> names;
        names.reserve(m_items.size());
        for (const Item &item : m_items)
            names.append(item.first);
        return names;
    }

    iterator begin() { return iterator(m_items.begin()); }
    iterator end() { return iterator(m_items.end()); }
    const_iterator begin() const { return cbegin(); }
    const_iterator end() const { return cend(); }
    const_iterator cbegin() const { return const_iterator(m_items.cbegin()); }
    const_iterator cend() const { return const_iterator(m_items.cend()); }
    const_iterator constBegin() const { return cbegin(); }
    const_iterator constEnd() const { return cend(); }

    friend bool operator==(const Row &a, const Row &b) { return a.m_items == b.m_items; }
    friend bool operator!=(const Row &a, const Row &b) { return !(a == b); }

private:
    Items::const_iterator lowerBound(const QString &language) const
    {
        return std::lower_bound(m_items.cbegin(), m_items.cend(), language,
                                [](const Item &item, const QString &name) { return item.first < name; });
    }

    Items m_items;
};
