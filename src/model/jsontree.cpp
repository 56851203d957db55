// Reading JSON into a tree that remembers where every member stood, and
// writing it back with untouched parts copied byte for byte.
#include "model/jsontree.h"

#include <QAnyStringView>
#include <QSet>
#include <cstring>
#include <limits>

struct JsonTree::Parse
{
    Parse(const char *b, const char *e) : begin(b), p(b), end(e) {}

    const char *begin;
    const char *p;
    const char *end;
    int depth = 0;
    // Members of the objects being read, one list per depth, reused.
    std::vector<std::vector<Member>> pending;
    QString error;
    const char *errorAt = nullptr;

    void fail(const char *message)
    {
        if (error.isEmpty()) {
            error = QString::fromLatin1(message);
            errorAt = p;
        }
    }
    bool failed() const { return !error.isEmpty(); }
    bool at(char c) const { return p < end && *p == c; }
    void skipSpace()
    {
        while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
            ++p;
    }
    qint32 offset() const { return qint32(p - begin); }
};

namespace {

// Deep enough for any catalog; shallow enough that recursion cannot exhaust the stack.
constexpr int kMaxDepth = 512;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isContinuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at p (lead byte 0x80 or above), or 0.
int utf8SequenceLength(const uchar *p, const uchar *end)
{
    const uchar c = p[0];
    int length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF; // no encoded surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (!isContinuation(p[k]))
            return 0;
    }
    return length;
}

// The text of a JSON string's body (between its quotes), escapes resolved.
QString decodeString(const char *p, const char *end)
{
    QString out;
    while (p < end) {
        const char *slash = static_cast<const char *>(std::memchr(p, '\\', size_t(end - p)));
        const char *runEnd = slash ? slash : end;
        out += QString::fromUtf8(p, runEnd - p);
        if (!slash)
            break;
        p = slash + 1;
        const char e = *p++;
        switch (e) {
        case 'b':
            out += u'\b';
            break;
        case 'f':
            out += u'\f';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'u': {
            int code = 0;
            for (int k = 0; k < 4; ++k)
                code = code * 16 + hexValue(*p++);
            out += QChar(char16_t(code));
            break;
        }
        default: // " \ and /
            out += QLatin1Char(e);
        }
    }
    return out;
}

void appendQuoted(QByteArray &out, const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            escaped += u"\\\"";
            break;
        case u'\\':
            escaped += u"\\\\";
            break;
        case u'\n':
            escaped += u"\\n";
            break;
        case u'\r':
            escaped += u"\\r";
            break;
        case u'\t':
            escaped += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20)
                escaped += QString::asprintf("\\u%04x", unsigned(c.unicode()));
            else
                escaped += c;
        }
    }
    escaped += u'"';
    out += escaped.toUtf8();
}

} // namespace

std::optional<JsonTree> JsonTree::parse(const QByteArray &bytes, QString *error)
{
    if (bytes.size() > std::numeric_limits<qint32>::max()) {
        if (error)
            *error = QStringLiteral("larger than 2 GiB");
        return std::nullopt;
    }
    JsonTree tree;
    tree.m_bytes = bytes;
    // Every kept value but the root follows a ':', and every object opens with
    // '{'; counting them keeps the tables from moving while they fill.
    const qsizetype colons = bytes.count(':');
    tree.m_nodes.reserve(size_t(colons) + 1);
    tree.m_members.reserve(size_t(colons));
    tree.m_objects.reserve(size_t(bytes.count('{')));
    Parse p(tree.m_bytes.constData(), tree.m_bytes.constData() + tree.m_bytes.size());
    p.pending.resize(kMaxDepth + 2);
    if (tree.m_bytes.startsWith("\xEF\xBB\xBF"))
        p.p += 3;
    p.skipSpace();
    tree.parseValue(p, kNone, true);
    if (!p.failed()) {
        p.skipSpace();
        if (p.p != p.end)
            p.fail("text after the end of the JSON value");
    }
    if (p.failed()) {
        if (error) {
            const QByteArrayView before(p.begin, p.errorAt - p.begin);
            const qsizetype lineStart = before.lastIndexOf('\n') + 1;
            *error = QStringLiteral("line %1, column %2: %3")
                         .arg(before.count('\n') + 1)
                         .arg(before.size() - lineStart + 1)
                         .arg(p.error);
        }
        return std::nullopt;
    }
    if (tree.kind(tree.root()) == Kind::Object && tree.size(tree.root()) > 0) {
        if (const QByteArray indent = tree.memberIndent(tree.members(0).front()); !indent.isEmpty())
            tree.m_step = indent;
    }
    return tree;
}

JsonTree::Node JsonTree::parseValue(Parse &p, Node parent, bool keep)
{
    if (p.p == p.end) {
        p.fail("unexpected end of the text");
        return kNone;
    }
    const char *start = p.p;
    Kind kind = Kind::Null;
    switch (*p.p) {
    case '{':
        return parseObject(p, parent, keep);
    case '[':
        if (++p.depth > kMaxDepth) {
            p.fail("values nested too deeply");
            return kNone;
        }
        ++p.p;
        p.skipSpace();
        if (p.at(']')) {
            ++p.p;
        } else {
            for (;;) {
                parseValue(p, kNone, false);
                if (p.failed())
                    return kNone;
                p.skipSpace();
                if (p.at(',')) {
                    ++p.p;
                    p.skipSpace();
                } else if (p.at(']')) {
                    ++p.p;
                    break;
                } else {
                    p.fail("expected ',' or ']'");
                    return kNone;
                }
            }
        }
        --p.depth;
        kind = Kind::Array;
        break;
    case '"':
        if (!parseString(p, nullptr))
            return kNone;
        kind = Kind::String;
        break;
    case 't':
    case 'f':
    case 'n': {
        const char *word = *p.p == 't' ? "true" : *p.p == 'f' ? "false" : "null";
        const qsizetype length = qsizetype(std::strlen(word));
        if (p.end - p.p < length || std::memcmp(p.p, word, size_t(length)) != 0) {
            p.fail("unknown literal");
            return kNone;
        }
        p.p += length;
        kind = *start == 't' ? Kind::True : *start == 'f' ? Kind::False : Kind::Null;
        break;
    }
    default: {
        const char *q = p.p;
        if (q < p.end && *q == '-')
            ++q;
        auto digits = [&] {
            const char *first = q;
            while (q < p.end && isDigit(*q))
                ++q;
            return q > first;
        };
        if (q < p.end && *q == '0') {
            ++q;
        } else if (!(q < p.end && *q >= '1' && *q <= '9') || !digits()) {
            p.fail("unexpected character");
            return kNone;
        }
        bool ok = true;
        if (q < p.end && *q == '.') {
            ++q;
            ok = digits();
        }
        if (ok && q < p.end && (*q == 'e' || *q == 'E')) {
            ++q;
            if (q < p.end && (*q == '+' || *q == '-'))
                ++q;
            ok = digits();
        }
        if (!ok) {
            p.p = q;
            p.fail("malformed number");
            return kNone;
        }
        p.p = q;
        kind = Kind::Number;
    }
    }
    if (!keep)
        return kNone;
    NodeData node;
    node.kind = kind;
    node.parent = parent;
    node.start = qint32(start - p.begin);
    node.end = p.offset();
    m_nodes.push_back(node);
    return Node(m_nodes.size() - 1);
}

JsonTree::Node JsonTree::parseObject(Parse &p, Node parent, bool keep)
{
    if (++p.depth > kMaxDepth) {
        p.fail("values nested too deeply");
        return kNone;
    }
    Node node = kNone;
    if (keep) {
        NodeData data;
        data.kind = Kind::Object;
        data.parent = parent;
        data.start = p.offset();
        data.extra = qint32(m_objects.size());
        m_nodes.push_back(data);
        m_objects.emplace_back();
        node = Node(m_nodes.size() - 1);
    }
    ++p.p;
    // Collected here and appended at the end, so that each object's members
    // stay together in m_members although its values' members come first.
    std::vector<Member> &members = p.pending[size_t(p.depth)];
    members.clear();
    qint32 closeStart = 0;
    for (bool first = true;; first = false) {
        Member m;
        m.start = p.offset();
        p.skipSpace();
        if (first && p.at('}')) {
            closeStart = m.start;
            ++p.p;
            break;
        }
        if (!p.at('"')) {
            p.fail("expected a member name");
            return kNone;
        }
        m.keyStart = p.offset() + 1;
        if (!parseString(p, &m.keyEscaped))
            return kNone;
        m.keyEnd = p.offset() - 1;
        p.skipSpace();
        if (!p.at(':')) {
            p.fail("expected ':'");
            return kNone;
        }
        ++p.p;
        p.skipSpace();
        m.valueStart = p.offset();
        m.value = parseValue(p, node, keep);
        if (p.failed())
            return kNone;
        m.valueEnd = p.offset();
        p.skipSpace();
        const bool last = p.at('}');
        if (!last && !p.at(',')) {
            p.fail("expected ',' or '}'");
            return kNone;
        }
        m.end = last ? m.valueEnd : p.offset();
        if (last)
            closeStart = m.valueEnd;
        ++p.p;
        if (keep)
            members.push_back(m);
        if (last)
            break;
    }
    --p.depth;
    if (keep) {
        m_nodes[node].end = p.offset();
        ObjectData &object = m_objects[m_nodes[node].extra];
        object.first = qint32(m_members.size());
        object.count = qint32(members.size());
        object.closeStart = closeStart;
        object.wasEmpty = members.empty();
        m_members.insert(m_members.end(), members.begin(), members.end());
    }
    return node;
}

bool JsonTree::parseString(Parse &p, bool *escaped)
{
    ++p.p;
    for (;;) {
        if (p.p == p.end) {
            p.fail("unterminated string");
            return false;
        }
        const uchar c = uchar(*p.p);
        if (c == '"') {
            ++p.p;
            return true;
        }
        if (c == '\\') {
            if (escaped)
                *escaped = true;
            ++p.p;
            if (p.p == p.end) {
                p.fail("unterminated string");
                return false;
            }
            const char e = *p.p++;
            if (e == 'u') {
                for (int k = 0; k < 4; ++k, ++p.p) {
                    if (p.p == p.end || hexValue(*p.p) < 0) {
                        p.fail("malformed \\u escape");
                        return false;
                    }
                }
            } else if (!std::strchr("\"\\/bfnrt", e) || e == '\0') {
                --p.p;
                p.fail("unknown escape");
                return false;
            }
        } else if (c < 0x20) {
            p.fail("control character in a string");
            return false;
        } else if (c < 0x80) {
            ++p.p;
        } else {
            const int length = utf8SequenceLength(reinterpret_cast<const uchar *>(p.p),
                                                  reinterpret_cast<const uchar *>(p.end));
            if (length == 0) {
                p.fail("invalid UTF-8");
                return false;
            }
            p.p += length;
        }
    }
}

QString JsonTree::key(Node object, qsizetype index) const
{
    const Member &m = members(object)[index];
    if (m.start < 0)
        return m_texts[m.newKey];
    const char *b = m_bytes.constData();
    if (!m.keyEscaped)
        return QString::fromUtf8(b + m.keyStart, m.keyEnd - m.keyStart);
    return decodeString(b + m.keyStart, b + m.keyEnd);
}

bool JsonTree::keyIs(Node object, qsizetype index, QStringView key) const
{
    const Member &m = members(object)[index];
    if (m.start < 0)
        return m_texts[m.newKey] == key;
    if (m.keyEscaped)
        return this->key(object, index) == key;
    return QAnyStringView::equal(
        QUtf8StringView(m_bytes.constData() + m.keyStart, m.keyEnd - m.keyStart), key);
}

qsizetype JsonTree::indexOf(Node object, QStringView key) const
{
    for (qsizetype i = 0; i < size(object); ++i) {
        if (keyIs(object, i, key))
            return i;
    }
    return -1;
}

bool JsonTree::sameKey(Node object, qsizetype i, qsizetype j) const
{
    const Member &a = members(object)[i];
    const Member &b = members(object)[j];
    if (a.start < 0 || b.start < 0 || a.keyEscaped || b.keyEscaped)
        return key(object, i) == key(object, j);
    const QByteArrayView bytes(m_bytes);
    return bytes.sliced(a.keyStart, a.keyEnd - a.keyStart) ==
           bytes.sliced(b.keyStart, b.keyEnd - b.keyStart);
}

qsizetype JsonTree::firstRepeatedKey(Node object) const
{
    // Pairwise for the few dozen members most objects have; a set beyond.
    const qsizetype n = size(object);
    if (n <= 64) {
        for (qsizetype i = 1; i < n; ++i) {
            for (qsizetype j = 0; j < i; ++j) {
                if (sameKey(object, i, j))
                    return i;
            }
        }
        return -1;
    }
    QSet<QString> seen;
    for (qsizetype i = 0; i < n; ++i) {
        const QString k = key(object, i);
        if (seen.contains(k))
            return i;
        seen.insert(k);
    }
    return -1;
}

JsonTree::Node JsonTree::member(Node object, QStringView key) const
{
    if (kind(object) != Kind::Object)
        return kNone;
    const qsizetype index = indexOf(object, key);
    return index < 0 ? kNone : value(object, index);
}

QString JsonTree::text(Node node) const
{
    const NodeData &d = m_nodes[node];
    if (d.start < 0)
        return d.kind == Kind::String ? m_texts[d.extra] : QString();
    const char *b = m_bytes.constData();
    switch (d.kind) {
    case Kind::String:
        return decodeString(b + d.start + 1, b + d.end - 1);
    case Kind::Object:
    case Kind::Array:
        return QString();
    default:
        return QString::fromUtf8(b + d.start, d.end - d.start);
    }
}

bool JsonTree::textIs(Node node, QStringView text) const
{
    const NodeData &d = m_nodes[node];
    if (d.kind != Kind::String)
        return false;
    if (d.start < 0)
        return m_texts[d.extra] == text;
    const QByteArrayView body(m_bytes.constData() + d.start + 1, d.end - d.start - 2);
    if (body.contains('\\'))
        return this->text(node) == text;
    return QAnyStringView::equal(QUtf8StringView(body), text);
}

JsonTree::Node JsonTree::newObject()
{
    NodeData node;
    node.kind = Kind::Object;
    node.extra = qint32(m_objects.size());
    m_nodes.push_back(node);
    m_objects.emplace_back();
    return Node(m_nodes.size() - 1);
}

JsonTree::Node JsonTree::newString(const QString &text)
{
    NodeData node;
    node.kind = Kind::String;
    node.extra = qint32(m_texts.size());
    m_nodes.push_back(node);
    m_texts.push_back(text);
    return Node(m_nodes.size() - 1);
}

void JsonTree::insert(Node object, qsizetype index, const QString &key, Node value)
{
    Member m;
    m.newKey = qint32(m_texts.size());
    m.value = value;
    m_texts.push_back(key);
    std::vector<Member> &list = editableMembers(object);
    list.insert(list.begin() + index, m);
    m_nodes[value].parent = object;
    markDirty(object);
}

void JsonTree::replace(Node object, qsizetype index, Node value)
{
    editableMembers(object)[index].value = value;
    m_nodes[value].parent = object;
    markDirty(object);
}

void JsonTree::remove(Node object, qsizetype index)
{
    std::vector<Member> &list = editableMembers(object);
    list.erase(list.begin() + index);
    markDirty(object);
}

void JsonTree::markDirty(Node node)
{
    // Every ancestor of a dirty node is dirty, so the walk can stop at the first one.
    while (node != kNone && !m_nodes[node].dirty) {
        m_nodes[node].dirty = true;
        node = m_nodes[node].parent;
    }
}

QByteArray JsonTree::memberIndent(const Member &member) const
{
    if (member.start < 0)
        return QByteArray();
    const QByteArrayView before(m_bytes.constData() + member.start,
                                member.keyStart - 1 - member.start);
    const qsizetype lineFeed = before.lastIndexOf('\n');
    return lineFeed < 0 ? QByteArray() : before.sliced(lineFeed + 1).toByteArray();
}

std::span<const JsonTree::Member> JsonTree::members(Node object) const
{
    const ObjectData &o = m_objects[m_nodes[object].extra];
    if (o.edited >= 0)
        return m_editedMembers[o.edited];
    return std::span<const Member>(m_members.data() + o.first, size_t(o.count));
}

std::vector<JsonTree::Member> &JsonTree::editableMembers(Node object)
{
    ObjectData &o = m_objects[m_nodes[object].extra];
    if (o.edited < 0) {
        o.edited = qint32(m_editedMembers.size());
        const auto first = m_members.begin() + o.first;
        m_editedMembers.emplace_back(first, first + o.count);
    }
    return m_editedMembers[o.edited];
}

QByteArray JsonTree::write() const
{
    if (!m_nodes[0].dirty)
        return m_bytes;
    QByteArray out;
    out.reserve(m_bytes.size() + 256);
    const NodeData &root = m_nodes[0];
    out.append(m_bytes.constData(), root.start);
    write(0, out, QByteArray());
    out.append(m_bytes.constData() + root.end, m_bytes.size() - root.end);
    return out;
}

void JsonTree::write(Node node, QByteArray &out, const QByteArray &indent) const
{
    const NodeData &d = m_nodes[node];
    if (d.start >= 0 && !d.dirty) {
        out.append(m_bytes.constData() + d.start, d.end - d.start);
        return;
    }
    if (d.kind == Kind::String) {
        appendQuoted(out, m_texts[d.extra]);
        return;
    }
    const std::span<const Member> list = members(node);
    const bool wasEmpty = m_objects[d.extra].wasEmpty;
    const qint32 closeStart = m_objects[d.extra].closeStart;
    // Only objects are edited or made new; the rest stays as read.
    QByteArray step = indent + m_step;
    if (d.start >= 0) {
        for (const Member &m : list) {
            if (const QByteArray own = memberIndent(m); m.start >= 0 && !own.isEmpty()) {
                step = own;
                break;
            }
        }
    }
    out += '{';
    for (size_t i = 0; i < list.size(); ++i) {
        const Member &m = list[i];
        if (i > 0)
            out += ',';
        if (m.start >= 0) {
            out.append(m_bytes.constData() + m.start, m.valueStart - m.start);
            const QByteArray own = memberIndent(m);
            write(m.value, out, own.isEmpty() ? indent : own);
            out.append(m_bytes.constData() + m.valueEnd, m.end - m.valueEnd);
        } else {
            out += '\n';
            out += step;
            appendQuoted(out, m_texts[m.newKey]);
            out += " : ";
            write(m.value, out, step);
        }
    }
    if (d.start >= 0 && wasEmpty == list.empty())
        out.append(m_bytes.constData() + closeStart, d.end - 1 - closeStart);
    else
        out += (list.empty() ? "\n\n" : "\n") + indent;
    out += '}';
}
