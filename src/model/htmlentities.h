// Decoding of HTML character references: the named entities of HTML5 and
// decimal and hexadecimal numeric references. Text without them is unchanged.
#pragma once

#include <QString>

QString removingHTMLEntities(const QString &text);
// Decodes the one reference that starts at text[at] == '&', appending its
// characters to out; returns its length, or 0 (nothing appended) when the
// text there is not a complete reference.
qsizetype decodeHTMLEntityAt(QStringView text, qsizetype at, QString &out);
