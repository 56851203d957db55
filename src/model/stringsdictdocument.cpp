// Reading .stringsdict property lists into items that keep every character of
// the file, editing their texts, and ICU's plural categories per language.
#include "model/stringsdictdocument.h"

#include "model/heldtext.h"

#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <memory>
#include <unicode/locid.h>
#include <unicode/plurrule.h>
#include <unicode/strenum.h>

using namespace Qt::StringLiterals;

namespace {

const QString kFormatKey = u"NSStringLocalizedFormatKey"_s;
const QString kSpecTypeKey = u"NSStringFormatSpecTypeKey"_s;
const QString kValueTypeKey = u"NSStringFormatValueTypeKey"_s;
const QString kPluralRule = u"NSStringPluralRuleType"_s;

bool isSpace(QStringView text)
{
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
    }
    return true;
}

// What follows the last line feed, when that is only white space.
QString indentOf(const QString &text)
{
    const QString last = text.sliced(text.lastIndexOf(u'\n') + 1);
    return isSpace(last) ? last : QString();
}

// The white space to copy from a sibling's lead or gap: its last line break
// and indentation, without any comment that came with it.
QString layoutSpace(const QString &text)
{
    if (isSpace(text))
        return text;
    return text.contains(u'\n') ? u'\n' + indentOf(text) : QString();
}

// Carriage returns as a reference: XML readers turn a literal one into a line feed.
QString xmlEscape(const QString &plain)
{
    QString out;
    out.reserve(plain.size());
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'\r':
            out += u"&#13;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Whether every character is one XML 1.0 allows in a document.
bool isXmlText(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return false;
            ++i;
        } else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') ||
                   QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

} // namespace

struct StringsDictDocument::Parse
{
    explicit Parse(const QString &t, qsizetype b) : text(t), base(b), reader(t.sliced(b)) {}

    const QString &text;
    // The reader does not count a leading byte-order mark.
    qsizetype base;
    QXmlStreamReader reader;
    QString error;

    // Right after a start or end tag: where the tag ends in text. (After
    // character data the reader has already taken the next '<'.)
    qsizetype position() const { return qsizetype(reader.characterOffset()) + base; }
    // Where the tag ending at end begins: no tag holds a '<' of its own.
    qsizetype tagStart(qsizetype end) const { return text.lastIndexOf(u'<', end - 1); }
    QString slice(qsizetype from, qsizetype to) const { return text.sliced(from, to - from); }

    bool fail(const QString &message)
    {
        if (error.isEmpty())
            error = reader.hasError() ? QStringLiteral("line %1: %2")
                                            .arg(reader.lineNumber())
                                            .arg(reader.errorString())
                                      : message;
        return false;
    }

    // Moves to the next element's start (true) or the current one's end
    // (false); only white space, comments and processing instructions may
    // stand between.
    bool nextElement(bool *started)
    {
        for (;;) {
            switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                *started = true;
                return true;
            case QXmlStreamReader::EndElement:
                *started = false;
                return true;
            case QXmlStreamReader::Characters:
                if (!reader.isWhitespace())
                    return fail(
                        QStringLiteral("line %1: text outside a value").arg(reader.lineNumber()));
                break;
            case QXmlStreamReader::Comment:
            case QXmlStreamReader::ProcessingInstruction:
                break;
            default:
                return fail(u"the property list ends early"_s);
            }
        }
    }
};

std::optional<StringsDictDocument> StringsDictDocument::parse(const QByteArray &bytes,
                                                              QString *error)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (bytes.startsWith("bplist"))
        return fail(u"a binary property list; only XML property lists are read"_s);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    // Written back through UTF-8, so only text that survives the trip is taken.
    if (decoder.hasError() || text.toUtf8() != bytes)
        return fail(u"not UTF-8 text"_s);

    Parse p(text, text.startsWith(QChar(0xFEFF)) ? 1 : 0);
    auto failParse = [&](const QString &message) {
        p.fail(message);
        return fail(p.error);
    };
    StringsDictDocument doc;
    if (!p.reader.readNextStartElement() || p.reader.name() != u"plist")
        return failParse(u"not a property list"_s);
    if (!p.reader.readNextStartElement() || p.reader.name() != u"dict")
        return failParse(u"the property list's top level is not a dictionary"_s);
    doc.m_prefix = text.first(p.tagStart(p.position()));
    if (!parseValue(p, doc.m_root))
        return fail(p.error);
    doc.m_suffix = text.sliced(p.position());
    bool started = false;
    if (!p.nextElement(&started))
        return fail(p.error);
    if (started)
        return failParse(u"more than one value in the property list"_s);
    while (!p.reader.atEnd())
        p.reader.readNext();
    if (p.reader.hasError())
        return failParse(QString());

    QSet<QString> keys;
    for (const Item &key : doc.m_root.items) {
        if (keys.contains(key.name))
            return fail(QStringLiteral("key \"%1\" appears twice").arg(key.name));
        keys.insert(key.name);
        QString problem;
        if (!checkKey(key, &problem))
            return fail(QStringLiteral("key \"%1\": %2").arg(key.name, problem));
    }
    return doc;
}

bool StringsDictDocument::parseValue(Parse &p, Item &item)
{
    const qsizetype openEnd = p.position();
    const qsizetype openStart = p.tagStart(openEnd);
    item.open = p.slice(openStart, openEnd);
    const bool isString = p.reader.name() == u"string";
    if (!isString && p.reader.name() != u"dict")
        return p.fail(QStringLiteral("line %1: <%2> where a string or dictionary was expected")
                          .arg(p.reader.lineNumber())
                          .arg(p.reader.name()));
    item.isDict = !isString;
    qsizetype cursor = openEnd;
    if (isString) {
        item.plain = p.reader.readElementText();
        if (p.reader.hasError())
            return p.fail(QString());
    } else {
        for (;;) {
            bool started = false;
            if (!p.nextElement(&started))
                return false;
            if (!started)
                break;
            if (p.reader.name() != u"key")
                return p.fail(QStringLiteral("line %1: <%2> where a <key> was expected")
                                  .arg(p.reader.lineNumber())
                                  .arg(p.reader.name()));
            Item child;
            const qsizetype keyStart = p.tagStart(p.position());
            child.lead = p.slice(cursor, keyStart);
            child.name = p.reader.readElementText();
            if (p.reader.hasError())
                return p.fail(QString());
            const qsizetype keyEnd = p.position();
            child.keyTag = p.slice(keyStart, keyEnd);
            if (!p.nextElement(&started))
                return false;
            if (!started)
                return p.fail(QStringLiteral("key \"%1\" has no value").arg(child.name));
            child.gap = p.slice(keyEnd, p.tagStart(p.position()));
            if (!parseValue(p, child))
                return false;
            cursor = p.position();
            item.items.push_back(std::move(child));
        }
    }
    // An empty element (<string/>, <dict/>) ends where it starts.
    const qsizetype closeEnd = p.position();
    if (closeEnd > openEnd) {
        const qsizetype closeStart = p.tagStart(closeEnd);
        if (isString)
            item.raw = p.slice(openEnd, closeStart);
        else
            item.tail = p.slice(cursor, closeStart);
        item.close = p.slice(closeStart, closeEnd);
    }
    return true;
}

bool StringsDictDocument::checkKey(const Item &key, QString *error)
{
    auto fail = [&](const QString &message) {
        *error = message;
        return false;
    };
    if (!key.isDict)
        return fail(u"not a dictionary"_s);
    bool hasFormat = false;
    QSet<QString> names;
    for (const Item &item : key.items) {
        if (names.contains(item.name))
            return fail(QStringLiteral("\"%1\" appears twice").arg(item.name));
        names.insert(item.name);
        if (item.name == kFormatKey) {
            if (item.isDict)
                return fail(kFormatKey + u" is not a string"_s);
            hasFormat = true;
            continue;
        }
        if (item.name == u"NSStringVariableWidthRuleType" ||
            item.name == u"NSStringDeviceSpecificRuleType")
            return fail(QStringLiteral("%1 is not supported").arg(item.name));
        if (!item.isDict)
            return fail(QStringLiteral("unknown entry \"%1\"").arg(item.name));
        QString ruleType;
        QSet<QString> seen;
        for (const Item &entry : item.items) {
            if (seen.contains(entry.name))
                return fail(QStringLiteral("variable \"%1\": \"%2\" appears twice")
                                .arg(item.name, entry.name));
            seen.insert(entry.name);
            const bool known = entry.name == kSpecTypeKey || entry.name == kValueTypeKey ||
                               pluralCategories().contains(entry.name);
            if (!known || entry.isDict)
                return fail(QStringLiteral("variable \"%1\": unknown entry \"%2\"")
                                .arg(item.name, entry.name));
            if (entry.name == kSpecTypeKey)
                ruleType = entry.plain;
        }
        if (!seen.contains(kSpecTypeKey))
            return fail(QStringLiteral("variable \"%1\": no %2").arg(item.name, kSpecTypeKey));
        if (ruleType != kPluralRule)
            return fail(QStringLiteral("variable \"%1\": unknown rule type \"%2\"")
                            .arg(item.name, ruleType));
    }
    if (!hasFormat)
        return fail(u"no "_s + kFormatKey);
    return true;
}

QByteArray StringsDictDocument::serialize() const
{
    QString out = m_prefix;
    render(m_root, out);
    out += m_suffix;
    return out.toUtf8();
}

void StringsDictDocument::render(const Item &item, QString &out)
{
    out += item.lead;
    out += item.keyTag;
    out += item.gap;
    out += item.open;
    if (item.isDict) {
        for (const Item &child : item.items)
            render(child, out);
        out += item.tail;
    } else {
        out += item.raw;
    }
    out += item.close;
}

void StringsDictDocument::setPlain(Item &item, const QString &plain)
{
    item.plain = plain;
    item.raw = xmlEscape(plain);
    if (item.close.isEmpty()) {
        item.open = u"<string>"_s;
        item.close = u"</string>"_s;
    }
}

QList<StringsDictEntry> StringsDictDocument::entries() const
{
    QList<StringsDictEntry> entries;
    for (const Item &key : m_root.items) {
        StringsDictEntry entry;
        entry.key = HeldText::fromPlain(key.name);
        for (const Item &item : key.items) {
            if (!item.isDict) {
                entry.format = HeldText::fromPlain(item.plain);
                continue;
            }
            StringsDictVariable variable;
            variable.name = item.name;
            for (const Item &text : item.items) {
                if (text.name == kValueTypeKey)
                    variable.valueType = text.plain;
                else if (text.name != kSpecTypeKey)
                    variable.texts.append({text.name, HeldText::fromPlain(text.plain)});
            }
            entry.variables.append(std::move(variable));
        }
        entries.append(std::move(entry));
    }
    return entries;
}

std::optional<StringsDictEntry> StringsDictDocument::entry(const QString &key) const
{
    const QString plain = HeldText::toPlain(key);
    for (const StringsDictEntry &entry : entries()) {
        if (HeldText::toPlain(entry.key) == plain)
            return entry;
    }
    return std::nullopt;
}

QStringList StringsDictDocument::keys() const
{
    QStringList keys;
    for (const Item &key : m_root.items)
        keys.append(HeldText::fromPlain(key.name));
    return keys;
}

const StringsDictDocument::Item *StringsDictDocument::keyItem(const QString &key) const
{
    const QString plain = HeldText::toPlain(key);
    for (const Item &item : m_root.items) {
        if (item.name == plain)
            return &item;
    }
    return nullptr;
}

StringsDictDocument::Item *StringsDictDocument::keyItem(const QString &key)
{
    return const_cast<Item *>(std::as_const(*this).keyItem(key));
}

StringsDictDocument::Item *StringsDictDocument::variableItem(const QString &key,
                                                             const QString &variable)
{
    Item *keyDict = keyItem(key);
    if (!keyDict || variable == kFormatKey)
        return nullptr;
    for (Item &item : keyDict->items) {
        if (item.name == variable)
            return &item;
    }
    return nullptr;
}

bool StringsDictDocument::setText(const QString &key, const QString &variable,
                                  const QString &category, const QString &text)
{
    const QString plain = HeldText::toPlain(text);
    const qsizetype rank = pluralCategories().indexOf(category);
    Item *dict = variableItem(key, variable);
    if (!dict || rank < 0 || !isXmlText(plain))
        return false;
    auto at = dict->items.begin();
    for (; at != dict->items.end(); ++at) {
        if (at->name == category) {
            if (at->plain != plain)
                setPlain(*at, plain);
            return true;
        }
        if (pluralCategories().indexOf(at->name) > rank)
            break;
    }
    // A variable always holds its rule type, so there is a sibling to copy.
    const Item &sibling = dict->items.back();
    Item added;
    added.lead = layoutSpace(sibling.lead);
    added.keyTag = u"<key>"_s + category + u"</key>"_s;
    added.gap = layoutSpace(sibling.gap);
    added.name = category;
    setPlain(added, plain);
    dict->items.insert(at, std::move(added));
    return true;
}

bool StringsDictDocument::removeCategory(const QString &key, const QString &variable,
                                         const QString &category)
{
    Item *dict = variableItem(key, variable);
    if (!dict || !pluralCategories().contains(category))
        return false;
    for (auto it = dict->items.begin(); it != dict->items.end(); ++it) {
        if (it->name == category) {
            dict->items.erase(it);
            return true;
        }
    }
    return false;
}

bool StringsDictDocument::setFormat(const QString &key, const QString &format)
{
    const QString plain = HeldText::toPlain(format);
    Item *keyDict = keyItem(key);
    if (!keyDict || !isXmlText(plain))
        return false;
    for (Item &item : keyDict->items) {
        if (item.name == kFormatKey) {
            if (item.plain != plain)
                setPlain(item, plain);
            return true;
        }
    }
    return false;
}

StringsDictDocument::Item StringsDictDocument::makeKey(const StringsDictEntry &entry) const
{
    // The file's own indentation: that of its keys, and the step inward from a
    // key to its items; a tab where the file shows none.
    QString lead;
    QString step = u"\t"_s;
    if (!m_root.items.empty()) {
        const Item &sibling = m_root.items.back();
        lead = layoutSpace(sibling.lead);
        const QString outer = indentOf(sibling.lead);
        const QString inner =
            sibling.items.empty() ? QString() : indentOf(sibling.items.front().lead);
        if (inner.size() > outer.size() && inner.startsWith(outer))
            step = inner.sliced(outer.size());
    } else {
        lead = u'\n' + indentOf(m_root.tail.isEmpty() ? m_prefix : m_root.tail) + step;
    }
    auto item = [](const QString &lead, const QString &name) {
        Item item;
        item.lead = lead;
        item.keyTag = u"<key>"_s + xmlEscape(name) + u"</key>"_s;
        item.gap = lead;
        item.name = name;
        return item;
    };
    auto string = [&](const QString &lead, const QString &name, const QString &plain) {
        Item s = item(lead, name);
        setPlain(s, plain);
        return s;
    };
    auto dict = [&](const QString &lead, const QString &name) {
        Item d = item(lead, name);
        d.isDict = true;
        d.open = u"<dict>"_s;
        d.tail = lead;
        d.close = u"</dict>"_s;
        return d;
    };
    const QString inner = lead + step;
    Item key = dict(lead, HeldText::toPlain(entry.key));
    key.items.push_back(string(inner, kFormatKey, HeldText::toPlain(entry.format)));
    for (const StringsDictVariable &variable : entry.variables) {
        Item v = dict(inner, variable.name);
        v.items.push_back(string(inner + step, kSpecTypeKey, kPluralRule));
        if (!variable.valueType.isEmpty())
            v.items.push_back(string(inner + step, kValueTypeKey, variable.valueType));
        for (const auto &[category, text] : variable.texts)
            v.items.push_back(string(inner + step, category, HeldText::toPlain(text)));
        key.items.push_back(std::move(v));
    }
    return key;
}

bool StringsDictDocument::addKey(const StringsDictEntry &entry, const QStringList &order)
{
    if (keyItem(entry.key))
        return false;
    QStringList texts = {HeldText::toPlain(entry.key), HeldText::toPlain(entry.format)};
    QSet<QString> names = {kFormatKey};
    for (const StringsDictVariable &variable : entry.variables) {
        if (variable.name.isEmpty() || names.contains(variable.name))
            return false;
        names.insert(variable.name);
        texts << variable.name << variable.valueType;
        QSet<QString> categories;
        for (const auto &[category, text] : variable.texts) {
            if (!pluralCategories().contains(category) || categories.contains(category))
                return false;
            categories.insert(category);
            texts << HeldText::toPlain(text);
        }
    }
    for (const QString &text : std::as_const(texts)) {
        if (!isXmlText(text))
            return false;
    }

    // The nearest key before this one in order that this file has.
    auto at = m_root.items.end();
    if (const qsizetype index = order.indexOf(entry.key); index >= 0) {
        at = m_root.items.begin();
        for (qsizetype i = index - 1; i >= 0; --i) {
            const QString plain = HeldText::toPlain(order[i]);
            const auto found = std::find_if(m_root.items.begin(), m_root.items.end(),
                                            [&](const Item &item) { return item.name == plain; });
            if (found != m_root.items.end()) {
                at = found + 1;
                break;
            }
        }
    }
    Item key = makeKey(entry);
    if (m_root.close.isEmpty()) {
        // <dict/> opens up, its closing tag on a line of its own.
        m_root.open = u"<dict>"_s;
        m_root.tail = u'\n' + indentOf(m_prefix);
        m_root.close = u"</dict>"_s;
    }
    m_root.items.insert(at, std::move(key));
    return true;
}

bool StringsDictDocument::removeKey(const QString &key)
{
    const Item *item = keyItem(key);
    if (!item)
        return false;
    m_root.items.erase(m_root.items.begin() + (item - m_root.items.data()));
    return true;
}

const QStringList &StringsDictDocument::pluralCategories()
{
    static const QStringList categories = {u"zero"_s, u"one"_s,  u"two"_s,
                                           u"few"_s,  u"many"_s, u"other"_s};
    return categories;
}

QStringList StringsDictDocument::requiredCategories(const QString &language)
{
    QString tag = language.compare(u"Base", Qt::CaseInsensitive) == 0 ? u"en"_s : language;
    tag.replace(u'_', u'-');
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray tagBytes = tag.toUtf8();
    icu::Locale locale = icu::Locale::forLanguageTag(tagBytes.constData(), status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        locale = icu::Locale::getRoot();
    }
    const std::unique_ptr<icu::PluralRules> rules(icu::PluralRules::forLocale(locale, status));
    if (U_FAILURE(status) || !rules)
        return {u"other"_s};
    const std::unique_ptr<icu::StringEnumeration> keywords(rules->getKeywords(status));
    QSet<QString> found;
    while (U_SUCCESS(status) && keywords) {
        int32_t length = 0;
        const UChar *keyword = keywords->unext(&length, status);
        if (!keyword)
            break;
        found.insert(QString(reinterpret_cast<const QChar *>(keyword), length));
    }
    QStringList required;
    for (const QString &category : pluralCategories()) {
        if (found.contains(category))
            required.append(category);
    }
    return required;
}
