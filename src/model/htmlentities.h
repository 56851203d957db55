// Decoding of HTML character references: the named entities of HTML5 and
// decimal and hexadecimal numeric references. Text without them is unchanged.
#pragma once

#include <QString>

QString removingHTMLEntities(const QString &text);
