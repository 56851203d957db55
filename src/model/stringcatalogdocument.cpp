// String Catalog reading, editing and writing on top of JsonTree, which keeps
// the file's own bytes for everything not edited.
#include "model/stringcatalogdocument.h"

#include "model/heldtext.h"
#include "model/textorder.h"

#include <QSet>
#include <algorithm>
#include <memory>
#include <unicode/ucol.h>

using namespace Qt::StringLiterals;
using Node = JsonTree::Node;
using Kind = JsonTree::Kind;

namespace {

const QStringList kStates = {u"translated"_s, u"needs_review"_s, u"new"_s, u"stale"_s};
const QStringList kPluralCategories = {u"zero"_s, u"one"_s,  u"two"_s,
                                       u"few"_s,  u"many"_s, u"other"_s};

struct CollatorCloser
{
    void operator()(UCollator *collator) const { ucol_close(collator); }
};

// Null when ICU has no English collation data; keys then compare by code points.
const UCollator *englishCollator()
{
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *c = ucol_open("en", &status);
        if (U_FAILURE(status)) {
            ucol_close(c);
            c = nullptr;
        }
        return std::unique_ptr<UCollator, CollatorCloser>(c);
    }();
    return collator.get();
}

// Reads the catalog's objects into the model's value structs, checking their
// shape on the way; with null outputs it only checks.
class Reader
{
public:
    // languageCache keeps language codes shared from one key to the next.
    Reader(const JsonTree &tree, std::vector<QString> &languageCache)
        : m_tree(tree), m_languages(languageCache)
    {
    }

    QString error;

    bool key(Node node, const QString &sourceLanguage, CatalogKey *out)
    {
        if (!expect(node, Kind::Object, u"the key"))
            return false;
        for (qsizetype i = 0; i < m_tree.size(node); ++i) {
            const Node value = m_tree.value(node, i);
            if (m_tree.keyIs(node, i, u"comment")) {
                if (!expect(value, Kind::String, u"\"comment\""))
                    return false;
                if (out)
                    out->comment = m_tree.text(value);
            } else if (m_tree.keyIs(node, i, u"extractionState")) {
                if (!expect(value, Kind::String, u"\"extractionState\""))
                    return false;
                if (out)
                    out->extractionState = m_tree.text(value);
            } else if (m_tree.keyIs(node, i, u"shouldTranslate")) {
                if (m_tree.kind(value) != Kind::True && m_tree.kind(value) != Kind::False)
                    return fail(u"\"shouldTranslate\" is not true or false"_s);
                if (out)
                    out->shouldTranslate = m_tree.kind(value) == Kind::True;
            } else if (m_tree.keyIs(node, i, u"localizations")) {
                if (!localizations(value, out))
                    return false;
            }
        }
        if (out) {
            out->keyIsSourceText = true;
            for (const CatalogLocalization &l : std::as_const(out->localizations)) {
                if (l.language == sourceLanguage && !l.units.isEmpty())
                    out->keyIsSourceText = false;
            }
        }
        return true;
    }

private:
    bool fail(const QString &message)
    {
        error = message;
        return false;
    }

    // what names the value in the message, which is only made on failure.
    bool expect(Node node, Kind kind, QStringView what)
    {
        if (m_tree.kind(node) == kind)
            return true;
        return fail(QStringLiteral("%1 is not %2")
                        .arg(what, kind == Kind::Object ? u"an object"_s : u"a string"_s));
    }

    bool unique(Node object, QStringView what)
    {
        const qsizetype repeated = m_tree.firstRepeatedKey(object);
        if (repeated < 0)
            return true;
        return fail(
            QStringLiteral("%1 \"%2\" appears twice").arg(what, m_tree.key(object, repeated)));
    }

    bool localizations(Node node, CatalogKey *out)
    {
        if (!expect(node, Kind::Object, u"\"localizations\"") || !unique(node, u"language"))
            return false;
        for (qsizetype i = 0; i < m_tree.size(node); ++i) {
            CatalogLocalization localization;
            if (!localizationBody(m_tree.value(node, i), out ? &localization : nullptr)) {
                error = QStringLiteral("language \"%1\": %2").arg(m_tree.key(node, i), error);
                return false;
            }
            if (out) {
                localization.language = language(node, i);
                out->localizations.append(std::move(localization));
            }
        }
        return true;
    }

    bool localizationBody(Node node, CatalogLocalization *out)
    {
        if (!container(node, QString(), out ? &out->units : nullptr))
            return false;
        const Node substitutions = m_tree.member(node, u"substitutions");
        if (substitutions == JsonTree::kNone)
            return true;
        if (!expect(substitutions, Kind::Object, u"\"substitutions\""))
            return false;
        for (qsizetype i = 0; i < m_tree.size(substitutions); ++i) {
            CatalogSubstitution substitution;
            substitution.name = m_tree.key(substitutions, i);
            const Node body = m_tree.value(substitutions, i);
            if (!expect(body, Kind::Object, u"a substitution"))
                return false;
            if (const Node arg = m_tree.member(body, u"argNum"); arg != JsonTree::kNone) {
                if (m_tree.kind(arg) != Kind::Number)
                    return fail(u"\"argNum\" is not a number"_s);
                substitution.argNum = m_tree.text(arg).toInt();
            }
            if (const Node specifier = m_tree.member(body, u"formatSpecifier");
                specifier != JsonTree::kNone) {
                if (!expect(specifier, Kind::String, u"\"formatSpecifier\""))
                    return false;
                substitution.formatSpecifier = m_tree.text(specifier);
            }
            if (const Node v = m_tree.member(body, u"variations"); v != JsonTree::kNone) {
                if (!variations(v, QString(), out ? &substitution.units : nullptr))
                    return false;
            }
            if (out)
                out->substitutions.append(std::move(substitution));
        }
        return true;
    }

    // A localization or a variation's category: its "stringUnit" and "variations".
    bool container(Node node, const QString &path, QList<CatalogUnit> *units)
    {
        if (!expect(node, Kind::Object, path.isEmpty() ? u"the localization"_s : path))
            return false;
        for (qsizetype i = 0; i < m_tree.size(node); ++i) {
            if (m_tree.keyIs(node, i, u"stringUnit")) {
                if (!unit(m_tree.value(node, i), path, units))
                    return false;
            } else if (m_tree.keyIs(node, i, u"variations")) {
                if (!variations(m_tree.value(node, i), path, units))
                    return false;
            }
        }
        return true;
    }

    bool variations(Node node, const QString &path, QList<CatalogUnit> *units)
    {
        if (!expect(node, Kind::Object, u"\"variations\"") || !unique(node, u"variation"))
            return false;
        for (qsizetype i = 0; i < m_tree.size(node); ++i) {
            const QString kind = m_tree.key(node, i);
            if (kind != u"plural" && kind != u"device")
                return fail(QStringLiteral("unknown variation \"%1\"").arg(kind));
            const Node categories = m_tree.value(node, i);
            if (!expect(categories, Kind::Object, kind) || !unique(categories, u"category"))
                return false;
            const QString prefix = (path.isEmpty() ? QString() : path + u'/') + kind + u'/';
            for (qsizetype c = 0; c < m_tree.size(categories); ++c) {
                if (!container(m_tree.value(categories, c), prefix + m_tree.key(categories, c),
                               units))
                    return false;
            }
        }
        return true;
    }

    bool unit(Node node, const QString &path, QList<CatalogUnit> *units)
    {
        if (!expect(node, Kind::Object, u"\"stringUnit\""))
            return false;
        const Node state = m_tree.member(node, u"state");
        const Node value = m_tree.member(node, u"value");
        if ((state != JsonTree::kNone && !expect(state, Kind::String, u"\"state\"")) ||
            (value != JsonTree::kNone && !expect(value, Kind::String, u"\"value\"")))
            return false;
        if (units) {
            CatalogUnit unit;
            unit.path = path;
            if (state != JsonTree::kNone) {
                const auto known =
                    std::find_if(kStates.begin(), kStates.end(),
                                 [&](const QString &s) { return m_tree.textIs(state, s); });
                unit.state = known != kStates.end() ? *known : m_tree.text(state);
            }
            if (value != JsonTree::kNone)
                unit.value = HeldText::fromPlain(m_tree.text(value));
            units->append(std::move(unit));
        }
        return true;
    }

    // Language codes repeat in every key, mostly at the same places: one shared
    // copy per place instead of one per localization.
    QString language(Node localizations, qsizetype index)
    {
        if (qsizetype(m_languages.size()) <= index)
            m_languages.resize(index + 1);
        QString &cached = m_languages[index];
        if (cached.isNull() || !m_tree.keyIs(localizations, index, cached))
            cached = m_tree.key(localizations, index);
        return cached;
    }

    const JsonTree &m_tree;
    std::vector<QString> &m_languages;
};

// kind/category steps with known kinds, plural categories from CLDR and
// device names in lower-case ASCII letters.
bool isValidPath(const QStringList &steps)
{
    if (steps.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i < steps.size(); i += 2) {
        const QString &category = steps[i + 1];
        if (steps[i] == u"plural") {
            if (!kPluralCategories.contains(category))
                return false;
        } else if (steps[i] == u"device") {
            if (category.isEmpty())
                return false;
            for (const QChar c : category) {
                if (c < u'a' || c > u'z')
                    return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<StringCatalogDocument> StringCatalogDocument::parse(const QByteArray &bytes,
                                                                  QString *error)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QString jsonError;
    std::optional<JsonTree> tree = JsonTree::parse(bytes, &jsonError);
    if (!tree)
        return fail(jsonError);
    StringCatalogDocument doc;
    doc.m_tree = std::move(*tree);
    const JsonTree &t = doc.m_tree;
    if (t.kind(t.root()) != Kind::Object)
        return fail(u"the catalog is not a JSON object"_s);
    const Node source = t.member(t.root(), u"sourceLanguage");
    if (source == JsonTree::kNone || t.kind(source) != Kind::String)
        return fail(u"\"sourceLanguage\" is missing or not a string"_s);
    doc.m_sourceLanguage = t.text(source);
    doc.m_strings = t.member(t.root(), u"strings");
    if (doc.m_strings == JsonTree::kNone || t.kind(doc.m_strings) != Kind::Object)
        return fail(u"\"strings\" is missing or not an object"_s);
    std::vector<QString> languages;
    Reader reader(t, languages);
    for (qsizetype i = 0; i < t.size(doc.m_strings); ++i) {
        const QString key = t.key(doc.m_strings, i);
        if (doc.m_keys.contains(key))
            return fail(QStringLiteral("key \"%1\" appears twice").arg(key));
        doc.m_keys.insert(key, i);
        if (!reader.key(t.value(doc.m_strings, i), doc.m_sourceLanguage, nullptr))
            return fail(QStringLiteral("key \"%1\": %2").arg(key, reader.error));
    }
    return doc;
}

QByteArray StringCatalogDocument::serialize() const
{
    return m_tree.write();
}

QStringList StringCatalogDocument::languages() const
{
    QStringList languages = {m_sourceLanguage};
    QSet<QString> seen = {m_sourceLanguage};
    for (qsizetype i = 0; i < m_tree.size(m_strings); ++i) {
        const Node localizations = m_tree.member(m_tree.value(m_strings, i), u"localizations");
        if (localizations == JsonTree::kNone)
            continue;
        for (qsizetype l = 0; l < m_tree.size(localizations); ++l) {
            const QString language = m_tree.key(localizations, l);
            if (!seen.contains(language)) {
                seen.insert(language);
                languages.append(language);
            }
        }
    }
    return languages;
}

QStringList StringCatalogDocument::keys() const
{
    QStringList keys;
    keys.reserve(m_tree.size(m_strings));
    for (qsizetype i = 0; i < m_tree.size(m_strings); ++i)
        keys.append(HeldText::fromPlain(m_tree.key(m_strings, i)));
    return keys;
}

QList<CatalogKey> StringCatalogDocument::entries() const
{
    QList<CatalogKey> entries;
    entries.reserve(m_tree.size(m_strings));
    std::vector<QString> languages;
    for (qsizetype i = 0; i < m_tree.size(m_strings); ++i)
        entries.append(readKey(i, languages));
    return entries;
}

std::optional<CatalogKey> StringCatalogDocument::entry(const QString &key) const
{
    const qsizetype index = keyIndex(key);
    if (index < 0)
        return std::nullopt;
    std::vector<QString> languages;
    return readKey(index, languages);
}

CatalogKey StringCatalogDocument::readKey(qsizetype index,
                                          std::vector<QString> &languageCache) const
{
    CatalogKey key;
    key.key = HeldText::fromPlain(m_tree.key(m_strings, index));
    // Checked when the catalog was read, and edits keep the shape.
    Reader reader(m_tree, languageCache);
    reader.key(m_tree.value(m_strings, index), m_sourceLanguage, &key);
    return key;
}

qsizetype StringCatalogDocument::keyIndex(const QString &heldKey) const
{
    return m_keys.value(HeldText::toPlain(heldKey), -1);
}

void StringCatalogDocument::indexKeys()
{
    m_keys.clear();
    m_keys.reserve(m_tree.size(m_strings));
    for (qsizetype i = 0; i < m_tree.size(m_strings); ++i)
        m_keys.insert(m_tree.key(m_strings, i), i);
}

int StringCatalogDocument::compareKeys(const QString &a, const QString &b)
{
    if (const UCollator *collator = englishCollator()) {
        const UCollationResult result =
            ucol_strcoll(collator, reinterpret_cast<const UChar *>(a.utf16()), int32_t(a.size()),
                         reinterpret_cast<const UChar *>(b.utf16()), int32_t(b.size()));
        if (result != UCOL_EQUAL)
            return result == UCOL_LESS ? -1 : 1;
    }
    return TextOrder::compareCodePoints(a, b);
}

void StringCatalogDocument::insertSorted(Node object, const QString &key, Node value)
{
    qsizetype at = m_tree.size(object);
    for (qsizetype i = 0; i < m_tree.size(object); ++i) {
        if (compareKeys(m_tree.key(object, i), key) > 0) {
            at = i;
            break;
        }
    }
    m_tree.insert(object, at, key, value);
}

bool StringCatalogDocument::setUnit(const QString &key, const QString &language,
                                    const QString &path, const QString &value, const QString &state)
{
    const QStringList steps = path.isEmpty() ? QStringList() : path.split(u'/');
    const qsizetype index = keyIndex(key);
    if (index < 0 || language.isEmpty() || !kStates.contains(state) || !isValidPath(steps))
        return false;
    const Node keyNode = m_tree.value(m_strings, index);
    auto child = [this](Node node, QStringView name) {
        return node == JsonTree::kNone ? JsonTree::kNone : m_tree.member(node, name);
    };

    // Checked before anything changes, so that a refused edit leaves no trace.
    // One level varies by one kind only, as in Xcode.
    Node node = child(child(keyNode, u"localizations"), language);
    for (qsizetype i = 0; node != JsonTree::kNone && i < steps.size(); i += 2) {
        if (child(node, u"stringUnit") != JsonTree::kNone)
            return false;
        const Node variations = child(node, u"variations");
        const Node kind = child(variations, steps[i]);
        if (kind == JsonTree::kNone && variations != JsonTree::kNone && m_tree.size(variations) > 0)
            return false;
        node = child(kind, steps[i + 1]);
    }
    if (child(node, u"variations") != JsonTree::kNone)
        return false;

    auto obtain = [&](Node parent, const QString &name) {
        Node node = child(parent, name);
        if (node == JsonTree::kNone) {
            node = m_tree.newObject();
            insertSorted(parent, name, node);
        }
        return node;
    };
    auto setString = [&](Node object, const QString &name, const QString &text) {
        const qsizetype at = m_tree.indexOf(object, name);
        if (at < 0)
            insertSorted(object, name, m_tree.newString(text));
        else if (m_tree.text(m_tree.value(object, at)) != text)
            m_tree.replace(object, at, m_tree.newString(text));
    };
    node = obtain(obtain(keyNode, u"localizations"_s), language);
    for (qsizetype i = 0; i < steps.size(); i += 2)
        node = obtain(obtain(obtain(node, u"variations"_s), steps[i]), steps[i + 1]);
    const Node unit = obtain(node, u"stringUnit"_s);
    setString(unit, u"state"_s, state);
    setString(unit, u"value"_s, HeldText::toPlain(value));
    return true;
}

bool StringCatalogDocument::removeUnit(const QString &key, const QString &language,
                                       const QString &path)
{
    const QStringList steps = path.isEmpty() ? QStringList() : path.split(u'/');
    const qsizetype index = keyIndex(key);
    if (index < 0 || !isValidPath(steps))
        return false;
    // Each object on the way down with the name of its child on the way.
    QList<std::pair<Node, QString>> chain = {{m_tree.value(m_strings, index), u"localizations"_s}};
    auto step = [&](const QString &name) {
        const Node next = m_tree.member(chain.last().first, chain.last().second);
        if (next == JsonTree::kNone)
            return false;
        chain.append({next, name});
        return true;
    };
    bool found = step(language);
    for (qsizetype i = 0; found && i < steps.size(); i += 2)
        found = step(u"variations"_s) && step(steps[i]) && step(steps[i + 1]);
    found =
        found && step(u"stringUnit"_s) && m_tree.indexOf(chain.last().first, u"stringUnit") >= 0;
    if (!found)
        return false;
    // The unit goes; then each object on the way up that it leaves empty.
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        const auto &[object, name] = chain[i];
        const qsizetype at = m_tree.indexOf(object, name);
        if (i < chain.size() - 1 && m_tree.size(m_tree.value(object, at)) > 0)
            break;
        m_tree.remove(object, at);
    }
    return true;
}

bool StringCatalogDocument::addKey(const QString &key, const std::optional<QString> &comment)
{
    if (keyIndex(key) >= 0)
        return false;
    const Node node = m_tree.newObject();
    if (comment)
        m_tree.insert(node, 0, u"comment"_s, m_tree.newString(*comment));
    insertSorted(node, u"extractionState"_s, m_tree.newString(u"manual"_s));
    insertSorted(m_strings, HeldText::toPlain(key), node);
    indexKeys();
    return true;
}

bool StringCatalogDocument::removeKey(const QString &key)
{
    const qsizetype index = keyIndex(key);
    if (index < 0)
        return false;
    m_tree.remove(m_strings, index);
    indexKeys();
    return true;
}
