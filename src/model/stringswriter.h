// The .strings writer: entry blocks with escaped values, always readable back
// by StringsReader.
#pragma once

#include "model/row.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

class StringsWriter
{
public:
    // The held value as written between the quotes: HTML character
    // references decoded (a backslash or quote they name is escaped), line
    // terminators as escapes, every double quote escaped once, escape pairs
    // kept as written, and a lone backslash at the end doubled.
    static QString escapeValue(const QString &value);
    // The same for a key, without decoding references.
    static QString escapeKey(const QString &key);
    // A "*/" inside a comment written as "* /" so that it does not end the
    // comment, and a space after a final "*", which the closing "*/" would
    // otherwise absorb.
    static QString escapeComment(const QString &comment);

    // Appends "/*comment*/\n\"key\" = \"value\";\n\n" with the escapes above.
    // Without decodeEntities the value's references stay as written (for
    // text that is not a .strings value, such as a whole .txt file).
    static void appendBlock(QString &out, const Entry &entry, bool decodeEntities = true);
    // Whether escaping may change the text; when not, escapeValue() (or,
    // without decodeEntities, escapeKey()) gives it back as it is. Only
    // backslashes, double quotes, line terminators and, decoding entities,
    // ampersands are ever rewritten; most texts hold none.
    static bool needsEscaping(QStringView held, bool decodeEntities = true);
    // Appends, as UTF-8, the start of the entry's block up to its value
    // ("/*comment*/\n\"key\" = \""): what appendBlock writes before the value.
    static void appendHeadUtf8(QByteArray &out, const Entry &entry);
    // Appends what appendBlock writes after the value, as UTF-8.
    static void appendTailUtf8(QByteArray &out);
    // A line feed, then one block per entry.
    static QString write(const QList<Entry> &entries);
};
