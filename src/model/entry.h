// The localization record read from and written to project files.
#pragma once

#include <QList>
#include <QString>
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

// Texts are held exactly as written between the quotes of a .strings file:
// escapes are not interpreted. An absent comment differs from an empty one.
struct Entry
{
    QString key;
    QString value;
    std::optional<QString> comment;
    // Every text of an entry read from a .stringsdict or .xcstrings file, in
    // file order; empty for .strings and .txt entries. `value` stands for the
    // primary one (VariantFiles::primaryIndex) and wins over it when the two
    // differ, so a command that knows only `value` still edits the entry.
    QList<EntryVariant> variants{};

    friend bool operator==(const Entry &, const Entry &) = default;
};
