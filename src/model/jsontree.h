// An order-preserving JSON tree over the bytes it was read from, for files that
// must be rewritten with only their edited parts changed.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class JsonTree
{
public:
    enum class Kind : quint8
    {
        Object,
        Array,
        String,
        Number,
        True,
        False,
        Null
    };
    // Index of a node in the tree; nodes stay valid (though perhaps detached)
    // for the life of the tree.
    using Node = qint32;
    static constexpr Node kNone = -1;

    // Strict JSON (RFC 8259) in UTF-8; a leading UTF-8 byte-order mark is kept
    // as it is. Nothing, and a message with line and column, when the bytes are
    // not a JSON text.
    static std::optional<JsonTree> parse(const QByteArray &bytes, QString *error);

    // The original bytes where nothing was edited. An edited object keeps its
    // untouched members' bytes, its separators and closing white space; new
    // members are written on lines of their own in Xcode's layout: two-space
    // steps (or the file's own step), "key" : value, and an empty object as
    // "{", a blank line and "}". Strings are written with \" \\ \n \r \t and
    // \u00XX for other control characters; everything else as it is.
    QByteArray write() const;

    Node root() const { return 0; }
    Kind kind(Node node) const { return m_nodes[node].kind; }

    // Members of an object, in order.
    qsizetype size(Node object) const { return qsizetype(m_nodes[object].members.size()); }
    QString key(Node object, qsizetype index) const;
    Node value(Node object, qsizetype index) const { return m_nodes[object].members[index].value; }
    // The first member with this key: its index, or -1.
    qsizetype indexOf(Node object, QStringView key) const;
    // The value of the first member with this key, or kNone.
    Node member(Node object, QStringView key) const;

    // A string's decoded text, or a number's or literal's text as written.
    QString text(Node node) const;

    // New, detached nodes, to be placed with insert or replace.
    Node newObject();
    Node newString(const QString &text);
    // Places value (a new node) as a member of object before index.
    void insert(Node object, qsizetype index, const QString &key, Node value);
    void replace(Node object, qsizetype index, Node value);
    void remove(Node object, qsizetype index);

private:
    struct Member
    {
        // Original members: offsets into m_bytes. start follows the '{' or ','
        // before the member, the key lies between its quotes, and end is where
        // the ',' after it stands, or the value's end for the last member. New
        // members have start -1 and key set.
        qsizetype start = -1;
        qsizetype keyStart = 0;
        qsizetype keyEnd = 0;
        qsizetype valueStart = 0;
        qsizetype valueEnd = 0;
        qsizetype end = 0;
        bool keyEscaped = false;
        Node value = kNone;
        QString key;
    };
    struct NodeData
    {
        Kind kind = Kind::Null;
        // Written from its parts rather than copied: something below changed.
        bool dirty = false;
        bool wasEmpty = false;
        Node parent = kNone;
        // Original nodes: the value's bytes; start is -1 for new nodes.
        qsizetype start = -1;
        qsizetype end = 0;
        // Objects: where the white space before the closing brace begins.
        qsizetype closeStart = 0;
        std::vector<Member> members;
        QString text;
    };
    struct Parse;

    Node parseValue(Parse &p, Node parent, bool keep);
    Node parseObject(Parse &p, Node parent, bool keep);
    bool parseString(Parse &p, bool *escaped);
    void markDirty(Node node);
    void write(Node node, QByteArray &out, const QByteArray &indent) const;
    QByteArray memberIndent(const Member &member) const;

    QByteArray m_bytes;
    std::vector<NodeData> m_nodes;
    QByteArray m_step = "  ";
};
