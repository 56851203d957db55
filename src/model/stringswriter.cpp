// The .strings writer. Every block it produces reads back through
// StringsReader as one entry, and through a property-list reader as the text
// the held form stands for: line terminators are escaped so key and value
// stay on their line, a quote that is not escaped gets its backslash, a
// backslash cannot swallow the closing quote, and a comment can neither close
// early nor lose trailing stars to its closing "*/".
#include "model/stringswriter.h"

#include "model/htmlentities.h"
#include "model/textfile.h"

#include <algorithm>

namespace {

// The fixed text of a block, around its comment, key and value.
constexpr char CommentStart[] = "/*";
constexpr char KeyStart[] = "*/\n\"";
constexpr char ValueStart[] = "\" = \"";
constexpr char BlockEnd[] = "\";\n\n";

// Appends the escape of a line terminator; returns false for other characters.
bool appendTerminatorEscape(QString &out, QChar c)
{
    switch (c.unicode()) {
    case u'\n': out.append(u"\\n"); return true;
    case u'\r': out.append(u"\\r"); return true;
    case 0x0B: out.append(u"\\v"); return true;
    case 0x0C: out.append(u"\\f"); return true;
    case 0x85: out.append(u"\\U0085"); return true;
    case 0x2028: out.append(u"\\U2028"); return true;
    case 0x2029: out.append(u"\\U2029"); return true;
    default: return false;
    }
}

// Plain text (what an entity stands for) in held form.
void appendPlain(QString &out, QStringView plain)
{
    for (const QChar c : plain) {
        if (c == u'\\')
            out.append(u"\\\\");
        else if (c == u'"')
            out.append(u"\\\"");
        else if (!appendTerminatorEscape(out, c))
            out.append(c);
    }
}

// Escape pairs are kept as written (a backslash before a line terminator
// becomes that terminator's escape, which stands for the same character); a
// bare quote is escaped; a backslash at the very end is doubled, since it
// would otherwise escape the closing quote. With decodeEntities, HTML
// character references become the characters they name.
QString escapeHeld(QStringView held, bool decodeEntities)
{
    QString out;
    out.reserve(held.size() + 8);
    const qsizetype n = held.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = held[i];
        if (c == u'\\') {
            if (i + 1 == n) {
                out.append(u"\\\\");
            } else if (!appendTerminatorEscape(out, held[i + 1])) {
                out.append(c);
                out.append(held[i + 1]);
            }
            ++i;
        } else if (c == u'"') {
            out.append(u"\\\"");
        } else if (decodeEntities && c == u'&') {
            QString decoded;
            const qsizetype used = decodeHTMLEntityAt(held, i, decoded);
            if (used == 0) {
                out.append(c);
            } else {
                appendPlain(out, decoded);
                i += used - 1;
            }
        } else if (!appendTerminatorEscape(out, c)) {
            out.append(c);
        }
    }
    return out;
}

} // namespace

QString StringsWriter::escapeValue(const QString &value)
{
    return escapeHeld(value, true);
}

QString StringsWriter::escapeKey(const QString &key)
{
    return escapeHeld(key, false);
}

// The reader ends a comment at its first "*/" and drops the stars before it,
// so "*/" is broken up and a trailing star gets a space after it.
QString StringsWriter::escapeComment(const QString &comment)
{
    QString text = comment;
    text.replace(QStringLiteral("*/"), QStringLiteral("* /"));
    if (text.endsWith(u'*'))
        text.append(u' ');
    return text;
}

void StringsWriter::appendBlock(QString &out, const Entry &entry, bool decodeEntities)
{
    out.append(QLatin1String(CommentStart));
    if (entry.comment)
        out.append(escapeComment(*entry.comment));
    out.append(QLatin1String(KeyStart));
    out.append(escapeKey(entry.key));
    out.append(QLatin1String(ValueStart));
    out.append(escapeHeld(entry.value, decodeEntities));
    out.append(QLatin1String(BlockEnd));
}

bool StringsWriter::needsEscaping(QStringView held, bool decodeEntities)
{
    return std::any_of(held.begin(), held.end(), [decodeEntities](QChar c) {
        switch (c.unicode()) {
        case u'\\': case u'"': case u'\n': case u'\r': case 0x0B: case 0x0C: case 0x85: case 0x2028:
        case 0x2029:
            return true;
        case u'&':
            return decodeEntities;
        default:
            return false;
        }
    });
}

void StringsWriter::appendHeadUtf8(QByteArray &out, const Entry &entry)
{
    // Most keys and comments are written as they are held; for them the
    // head goes straight into the bytes, without a string built per entry.
    if (!needsEscaping(entry.key, false) && !(entry.comment && entry.comment->contains(u'*'))) {
        out.append(CommentStart);
        if (entry.comment)
            TextFile::appendUtf8(out, *entry.comment);
        out.append(KeyStart);
        TextFile::appendUtf8(out, entry.key);
        out.append(ValueStart);
        return;
    }
    QString block;
    appendBlock(block, Entry{entry.key, QString(), entry.comment});
    block.chop(qsizetype(sizeof(BlockEnd)) - 1);
    TextFile::appendUtf8(out, block);
}

void StringsWriter::appendTailUtf8(QByteArray &out)
{
    out.append(BlockEnd);
}

QString StringsWriter::write(const QList<Entry> &entries)
{
    QString out(u'\n');
    for (const Entry &entry : entries)
        appendBlock(out, entry);
    return out;
}
