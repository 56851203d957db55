// The localization record read from and written to project files.
#pragma once

#include <QList>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <initializer_list>
#include <optional>

// One text of a plural or variation entry. The path names it: for a
// .stringsdict "variable/category" ("count/one"); for a String Catalog the
// unit's path ("" for a plain unit, "plural/one", "device/iphone/plural/few").
struct EntryVariant
{
    QString path;
    QString value; // held
    QString state; // a catalog unit's review state; empty elsewhere

    friend bool operator==(const EntryVariant &, const EntryVariant &) = default;
};

// The variants of an entry: a QList<EntryVariant> held through one pointer,
// null while empty. Most entries (.strings and .txt) have none, and every
// entry a project holds pays for this member. Shared on copy like the list.
class EntryVariants
{
public:
    using List = QList<EntryVariant>;

    EntryVariants() = default;
    EntryVariants(const List &list)
    {
        if (!list.isEmpty())
            d = new Data{{}, list};
    }
    EntryVariants(std::initializer_list<EntryVariant> items) : EntryVariants(List(items)) {}

    // The list; an empty one when there are no variants.
    const List &list() const { return d ? d->list : empty(); }
    operator const List &() const { return list(); }

    qsizetype size() const { return d ? d->list.size() : 0; }
    bool isEmpty() const { return !d || d->list.isEmpty(); }
    const EntryVariant &at(qsizetype i) const { return d->list.at(i); }
    const EntryVariant &operator[](qsizetype i) const { return d->list.at(i); }
    EntryVariant &operator[](qsizetype i) { return writable()[i]; }
    const EntryVariant &first() const { return d->list.first(); }
    EntryVariant &first() { return writable().first(); }

    List::const_iterator begin() const { return list().cbegin(); }
    List::const_iterator end() const { return list().cend(); }
    List::const_iterator cbegin() const { return begin(); }
    List::const_iterator cend() const { return end(); }
    // Without variants both are null, so that nothing is allocated.
    List::iterator begin() { return d.constData() ? writable().begin() : List::iterator(); }
    List::iterator end() { return d.constData() ? writable().end() : List::iterator(); }

    void append(const EntryVariant &variant) { writable().append(variant); }
    void insert(qsizetype i, const EntryVariant &variant) { writable().insert(i, variant); }
    void removeAt(qsizetype i) { writable().removeAt(i); }

    friend bool operator==(const EntryVariants &a, const EntryVariants &b) { return a.list() == b.list(); }
    friend bool operator==(const EntryVariants &a, const List &b) { return a.list() == b; }

private:
    struct Data : QSharedData
    {
        List list;
    };

    static const List &empty()
    {
        static const List none;
        return none;
    }
    List &writable()
    {
        if (!d)
            d = new Data;
        return d->list;
    }

    QSharedDataPointer<Data> d;
};

// Texts are held exactly as written between the quotes of a .strings file:
// escapes are not interpreted. An absent comment differs from an empty one.
struct Entry
{
    // A loaded entry's key shares its row key's storage (the row key starts
    // with it), so it is not null-terminated: read it with its size, as
    // QStringView and Qt's string functions do, never through a bare utf16().
    QString key;
    QString value;
    std::optional<QString> comment;
    // Every text of an entry read from a .stringsdict or .xcstrings file, in
    // file order; empty for .strings and .txt entries. `value` stands for the
    // primary one (VariantFiles::primaryIndex) and wins over it when the two
    // differ, so a command that knows only `value` still edits the entry.
    EntryVariants variants{};

    friend bool operator==(const Entry &, const Entry &) = default;
};
