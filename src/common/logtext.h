// Texts shown inside diagnostic lines: line breaks are written as escapes so
// every diagnostic stays one line.
#pragma once

#include <QString>

inline QString logText(QString text)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}
