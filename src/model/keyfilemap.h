// Row key to the name of the file the row came from, with the part of
// QHash's interface the program uses. Holds each file name once: a project's
// rows outnumber its files by thousands.
#pragma once

#include "model/heldnames.h"

#include <QHash>
#include <QString>
#include <iterator>

class KeyFileMap
{
    using Map = QHash<QString, HeldNames::Name>;

public:
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using difference_type = qsizetype;
        using value_type = QString;
        using pointer = const QString *;
        using reference = const QString &;

        const_iterator() = default;
        explicit const_iterator(Map::const_iterator it) : m_it(it) {}
        const QString &key() const { return m_it.key(); }
        // The held file name: one address for each name.
        const QString &value() const { return **m_it; }
        const QString &operator*() const { return **m_it; }
        const QString *operator->() const { return *m_it; }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b)
        {
            return a.m_it == b.m_it;
        }
        friend bool operator!=(const const_iterator &a, const const_iterator &b)
        {
            return a.m_it != b.m_it;
        }

    private:
        Map::const_iterator m_it;
    };

    // The file name of the row key; empty when the map has none.
    QString value(const QString &rowKey) const
    {
        const auto it = m_map.constFind(rowKey);
        return it == m_map.cend() ? QString() : **it;
    }
    bool contains(const QString &rowKey) const { return m_map.contains(rowKey); }
    const_iterator constFind(const QString &rowKey) const
    {
        return const_iterator(m_map.constFind(rowKey));
    }
    // Sets the file of a row key.
    void insert(const QString &rowKey, const QString &fileName)
    {
        m_map.insert(rowKey, HeldNames::hold(fileName));
    }
    void insert(const QString &rowKey, HeldNames::Name fileName) { m_map.insert(rowKey, fileName); }
    void insert(QString &&rowKey, HeldNames::Name fileName)
    {
        m_map.emplace(std::move(rowKey), fileName);
    }
    void reserve(qsizetype size) { m_map.reserve(size); }
    qsizetype size() const { return m_map.size(); }
    bool isEmpty() const { return m_map.isEmpty(); }

    const_iterator cbegin() const { return const_iterator(m_map.cbegin()); }
    const_iterator cend() const { return const_iterator(m_map.cend()); }
    const_iterator begin() const { return cbegin(); }
    const_iterator end() const { return cend(); }

    // Held names are equal exactly when their pointers are.
    friend bool operator==(const KeyFileMap &a, const KeyFileMap &b) { return a.m_map == b.m_map; }
    friend bool operator!=(const KeyFileMap &a, const KeyFileMap &b) { return !(a == b); }

private:
    Map m_map;
};
