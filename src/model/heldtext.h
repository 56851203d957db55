// Conversion between plain text and the held form of a text: the form a
// .strings file writes between its quotes, which is how the project keeps texts.
#pragma once

#include <QString>

class HeldText
{
public:
    // Escapes backslash, double quote, line feed (\n) and carriage return (\r);
    // everything else, tab included, is kept as it is.
    // toPlain(fromPlain(t)) == t for every t.
    static QString fromPlain(const QString &plain);
    // Resolves \\ \" \n \r \t \' and \UXXXX (exactly four hex digits); any other
    // escaped character stands for itself, and a final lone backslash is kept.
    static QString toPlain(const QString &held);
};
