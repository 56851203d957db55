// The .strings writer. Every block it produces reads back through
// StringsReader as one entry holding the escaped key, value and comment:
// line terminators are escaped so key and value stay on their line, every
// quote of a value is escaped so the value cannot end early, and a comment
// can neither close early nor lose trailing stars to its closing "*/".
#include "model/stringswriter.h"

#include "model/htmlentities.h"

namespace {

// Appends text with each line terminator written as an escape; returns true
// when the character was one.
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

QString escapeTerminators(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!appendTerminatorEscape(out, c))
            out.append(c);
    }
    return out;
}

} // namespace

QString StringsWriter::escapeValue(const QString &value)
{
    QString text = escapeTerminators(removingHTMLEntities(value));
    text.replace(QStringLiteral("\\\""), QStringLiteral("\""));
    text.replace(QStringLiteral("\""), QStringLiteral("\\\""));
    return text;
}

QString StringsWriter::escapeKey(const QString &key)
{
    return escapeTerminators(key);
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

void StringsWriter::appendBlock(QString &out, const Entry &entry)
{
    out.append(u"/*");
    if (entry.comment)
        out.append(escapeComment(*entry.comment));
    out.append(u"*/\n\"");
    out.append(escapeKey(entry.key));
    out.append(u"\" = \"");
    out.append(escapeValue(entry.value));
    out.append(u"\";\n\n");
}

QString StringsWriter::write(const QList<Entry> &entries)
{
    QString out(u'\n');
    for (const Entry &entry : entries)
        appendBlock(out, entry);
    return out;
}
