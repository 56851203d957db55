// An order-preserving JSON tree over the bytes it was read from, for files that
// must be rewritten with only their edited parts changed.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <span>
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
    // not a JSON text. Arrays are checked but kept only whole: their elements
    // cannot be reached or edited.
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

    // Members of an object, in order; object must be an object node.
    qsizetype size(Node object) const { return qsizetype(members(object).size()); }
    QString key(Node object, qsizetype index) const;
    Node value(Node object, qsizetype index) const { return members(object)[index].value; }
    // Whether the member's key is key; decodes only keys written with escapes.
    bool keyIs(Node object, qsizetype index, QStringView key) const;
    // The first member with this key: its index, or -1.
    qsizetype indexOf(Node object, QStringView key) const;
    // The index of the first member whose key an earlier member has, or -1.
    qsizetype firstRepeatedKey(Node object) const;
    // The value of the first member with this key, or kNone.
    Node member(Node object, QStringView key) const;

    // A string's decoded text, or a number's or literal's text as written.
    QString text(Node node) const;
    // Whether a string's text is text; decodes only strings written with escapes.
    bool textIs(Node node, QStringView text) const;

    // New, detached nodes, to be placed with insert or replace.
    Node newObject();
    Node newString(const QString &text);
    // Places value (a new node) as a member of object before index.
    void insert(Node object, qsizetype index, const QString &key, Node value);
    void replace(Node object, qsizetype index, Node value);
    void remove(Node object, qsizetype index);

private:
    // Offsets are 32-bit (files up to 2 GiB) to keep the records of a large
    // catalog's million values small.
    struct Member
    {
        // Original members: offsets into m_bytes. start follows the '{' or ','
        // before the member, the key lies between its quotes, and end is where
        // the ',' after it stands, or the value's end for the last member. New
        // members have start -1 and their key in m_texts at newKey.
        qint32 start = -1;
        qint32 keyStart = 0;
        qint32 keyEnd = 0;
        qint32 valueStart = 0;
        qint32 valueEnd = 0;
        qint32 end = 0;
        Node value = kNone;
        qint32 newKey = -1;
        bool keyEscaped = false;
    };
    // An object's members are a run of m_members until it is first edited;
    // from then on a list of its own in m_editedMembers.
    struct ObjectData
    {
        qint32 first = 0;
        qint32 count = 0;
        qint32 edited = -1;
        // Where the white space before the closing brace begins.
        qint32 closeStart = 0;
        bool wasEmpty = false;
    };
    struct NodeData
    {
        Kind kind = Kind::Null;
        // Written from its parts rather than copied: something below changed.
        bool dirty = false;
        Node parent = kNone;
        // Original nodes: the value's bytes; start is -1 for new nodes.
        qint32 start = -1;
        qint32 end = 0;
        // Objects: their index in m_objects; new strings: their text's in m_texts.
        qint32 extra = -1;
    };
    struct Parse;

    Node parseValue(Parse &p, Node parent, bool keep);
    Node parseObject(Parse &p, Node parent, bool keep);
    bool parseString(Parse &p, bool *escaped);
    bool sameKey(Node object, qsizetype i, qsizetype j) const;
    void markDirty(Node node);
    void write(Node node, QByteArray &out, const QByteArray &indent) const;
    QByteArray memberIndent(const Member &member) const;

    std::span<const Member> members(Node object) const;
    std::vector<Member> &editableMembers(Node object);

    QByteArray m_bytes;
    std::vector<NodeData> m_nodes;
    std::vector<ObjectData> m_objects;
    std::vector<Member> m_members;
    std::vector<std::vector<Member>> m_editedMembers;
    std::vector<QString> m_texts;
    QByteArray m_step = "  ";
};
