// A .stringsdict file: plural rules per key as an XML property list, read into
// a model and written back changing only the texts that were edited.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// One plural variable of a key (the name in %#@name@).
struct StringsDictVariable
{
    QString name;
    QString valueType; // NSStringFormatValueTypeKey, such as "d"; empty when absent
    // Plural category ("zero" ... "other") and its held text, in file order.
    QList<std::pair<QString, QString>> texts;

    friend bool operator==(const StringsDictVariable &, const StringsDictVariable &) = default;
};

struct StringsDictEntry
{
    QString key;                          // held
    QString format;                       // held NSStringLocalizedFormatKey
    QList<StringsDictVariable> variables; // file order

    friend bool operator==(const StringsDictEntry &, const StringsDictEntry &) = default;
};

class StringsDictDocument
{
public:
    // Reads a UTF-8 XML property list whose top-level dictionary maps keys to
    // dictionaries holding NSStringLocalizedFormatKey and plural variables
    // (NSStringFormatSpecTypeKey NSStringPluralRuleType, an optional value type,
    // texts under the CLDR category names). Anything else gives nothing and the
    // reason: malformed XML, a binary property list, a top level other than a
    // dictionary, unknown entries, and the width and device rules
    // (NSStringVariableWidthRuleType, NSStringDeviceSpecificRuleType), whose
    // variants do not fit a model of plural variables; Xcode 15 moved device
    // variants to String Catalogs.
    static std::optional<StringsDictDocument> parse(const QByteArray &bytes, QString *error);
    // The original bytes when nothing was edited; otherwise they with only the
    // edited texts, and the added or removed keys and categories, changed.
    QByteArray serialize() const;

    QList<StringsDictEntry> entries() const;
    std::optional<StringsDictEntry> entry(const QString &key) const;
    QStringList keys() const;

    // Texts are held. Each edit returns false, changing nothing, when the key
    // (or variable) is absent, a name is not valid, or a text holds a character
    // that XML 1.0 cannot carry (most control characters).

    // Sets a category's text; an absent category is added at its place in the
    // order zero, one, two, few, many, other, laid out like its siblings.
    bool setText(const QString &key, const QString &variable, const QString &category,
                 const QString &text);
    bool removeCategory(const QString &key, const QString &variable, const QString &category);
    bool setFormat(const QString &key, const QString &format);
    // Adds entry (typically another language's entry with this language's
    // texts) in this file's indentation. order lists the keys of the file it
    // came from: the entry goes after the nearest key before it there that this
    // file has, or first when there is none; with no order, last.
    bool addKey(const StringsDictEntry &entry, const QStringList &order = {});
    bool removeKey(const QString &key);

    // zero, one, two, few, many, other.
    static const QStringList &pluralCategories();
    // The categories ICU's plural rules give the language, in the order above.
    // Names are language folder names: "ru", "pt-BR", "zh-Hans", "Base"
    // (read as English); unknown languages get ICU's root rules ("other").
    static QStringList requiredCategories(const QString &language);

private:
    // A <key> with its value inside a dictionary, or (as the root) the
    // top-level dictionary itself. The concatenation of the texts, in the
    // order declared, reproduces the file.
    struct Item
    {
        QString lead;   // white space and comments before <key>
        QString keyTag; // <key>…</key>
        QString gap;    // between </key> and the value
        QString name;   // the key, plain
        bool isDict = false;
        QString open; // <string>, <string/> or <dict>, <dict/>
        // Strings: the content as written, and as plain text.
        QString raw;
        QString plain;
        // Dictionaries: the items, and what stands between the last one and close.
        std::vector<Item> items;
        QString tail;
        QString close; // </string> or </dict>; empty after <string/> and <dict/>
    };
    struct Parse;

    StringsDictDocument() = default;

    static bool parseValue(Parse &p, Item &item);
    static bool checkKey(const Item &key, QString *error);

    static void render(const Item &item, QString &out);
    static void setPlain(Item &item, const QString &plain);
    Item *keyItem(const QString &key);
    const Item *keyItem(const QString &key) const;
    Item *variableItem(const QString &key, const QString &variable);
    Item makeKey(const StringsDictEntry &entry) const;

    QString m_prefix; // everything before the top-level dictionary
    Item m_root;
    QString m_suffix;
};
