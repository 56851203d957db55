// An Xcode String Catalog (.xcstrings): every language's texts of a table in
// one JSON file, read into a model and written back changing only what was edited.
#pragma once

#include "model/jsontree.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One string unit. Its path names the variation it belongs to: empty for the
// localization's own unit, else kind/category steps such as "plural/one",
// "device/iphone" or "device/iphone/plural/one".
struct CatalogUnit
{
    QString path;
    QString value; // held
    QString state; // "translated", "needs_review", "new", "stale"; empty when absent

    friend bool operator==(const CatalogUnit &, const CatalogUnit &) = default;
};

// A named substitution of a localization (%#@name@ in its texts), read only.
struct CatalogSubstitution
{
    QString name;
    std::optional<int> argNum;
    QString formatSpecifier;
    QList<CatalogUnit> units;

    friend bool operator==(const CatalogSubstitution &, const CatalogSubstitution &) = default;
};

struct CatalogLocalization
{
    QString language;
    QList<CatalogUnit> units; // file order; empty when it holds only substitutions
    QList<CatalogSubstitution> substitutions;

    friend bool operator==(const CatalogLocalization &, const CatalogLocalization &) = default;
};

struct CatalogKey
{
    QString key; // held
    std::optional<QString> comment;
    QString extractionState; // empty when absent
    bool shouldTranslate = true;
    // The source language has no unit: the key itself serves as the source text.
    bool keyIsSourceText = false;
    QList<CatalogLocalization> localizations; // file order

    friend bool operator==(const CatalogKey &, const CatalogKey &) = default;
};

class StringCatalogDocument
{
public:
    // Nothing, and the reason, when the bytes are not JSON or not shaped like a
    // catalog: the root must be an object with a string "sourceLanguage" and an
    // object "strings"; every key, localization, variation and unit must be an
    // object; texts, states and comments strings. Members this class does not
    // know are kept, unread.
    static std::optional<StringCatalogDocument> parse(const QByteArray &bytes, QString *error);
    // The original bytes when nothing was edited; otherwise they with only the
    // edited members changed, new ones in Xcode's layout and order.
    QByteArray serialize() const;

    QString sourceLanguage() const { return m_sourceLanguage; }
    // The source language first, then every localization's language in the
    // order first met.
    QStringList languages() const;
    // Held keys in file order.
    QStringList keys() const;
    QList<CatalogKey> entries() const;
    std::optional<CatalogKey> entry(const QString &key) const;

    // Sets the unit at path (see CatalogUnit) of key's localization in language,
    // creating the localization, variations and unit as needed. value is held;
    // state one of the four unit states. False, changing nothing, when the key
    // is absent, the path or state is not valid, or the path runs into a unit
    // where variations would go or the other way round.
    bool setUnit(const QString &key, const QString &language, const QString &path,
                 const QString &value, const QString &state);
    // Removes the unit and every object that it leaves empty, up to and
    // including "localizations"; the key stays. False when there is no such unit.
    bool removeUnit(const QString &key, const QString &language, const QString &path);
    // Adds a key marked "extractionState" : "manual" (Xcode keeps such keys even
    // when the code no longer uses them) at its collated place. False when it exists.
    bool addKey(const QString &key, const std::optional<QString> &comment = std::nullopt);
    bool removeKey(const QString &key);

    // Xcode's order of keys and language codes: ICU collation for English, ties
    // broken by code points.
    static int compareKeys(const QString &a, const QString &b);

private:
    StringCatalogDocument() = default;

    CatalogKey readKey(qsizetype index, std::vector<QString> &languageCache) const;
    qsizetype keyIndex(const QString &heldKey) const;
    void indexKeys();
    // Places a new member at its collated place among object's members.
    void insertSorted(JsonTree::Node object, const QString &key, JsonTree::Node value);

    JsonTree m_tree;
    JsonTree::Node m_strings = JsonTree::kNone;
    QString m_sourceLanguage;
    // Plain key text to its index in "strings".
    QHash<QString, qsizetype> m_keys;
};
