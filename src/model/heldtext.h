// The form in which the project holds texts: exactly as written between the
// quotes of a .strings file, escapes included. Converts from and to plain text.
#pragma once

#include <QString>
#include <QStringView>

class HeldText
{
public:
    // Plain text (as a property-list reader, the memory or a web service gives
    // it) in the held form: "\" as "\\", '"' as '\"', a line feed as "\n", a
    // carriage return as "\r". The writer then puts back exactly the text that
    // arrived.
    static QString fromPlain(QStringView plain);

    // The text a property-list reader gets from a held text: \n \t \r \a \b \f
    // \v \" \' \\, \U with up to four hex digits, \ with up to three octal
    // digits, and a backslash before any other character gives that character.
    // A lone backslash at the end stays.
    static QString toPlain(QStringView held);

    // Appends the character a backslash escape stands for, the escape starting
    // with text[at] == '\'; returns how many units it used (at least 1).
    static qsizetype appendUnescaped(QStringView text, qsizetype at, QString &out);
};
