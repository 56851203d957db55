// The .strings writer: entry blocks with escaped values, always readable back
// by StringsReader.
#pragma once

#include "model/entry.h"

#include <QList>
#include <QString>

class StringsWriter
{
public:
    // HTML entities decoded, line feeds as \n, every double quote escaped once,
    // and the other line terminators escaped so the line stays one line.
    static QString escapeValue(const QString &value);
    // Line terminators in a key escaped so the entry stays on one line.
    static QString escapeKey(const QString &key);
    // A "*/" inside a comment written as "* /" so that it does not end the
    // comment, and a space after a final "*", which the closing "*/" would
    // otherwise absorb.
    static QString escapeComment(const QString &comment);

    // Appends "/*comment*/\n\"key\" = \"value\";\n\n" with the escapes above.
    static void appendBlock(QString &out, const Entry &entry);
    // A line feed, then one block per entry.
    static QString write(const QList<Entry> &entries);
};
