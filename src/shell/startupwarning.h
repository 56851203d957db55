// The one-time warning, at the first start for a user, that the program
// rewrites the user's files.
#pragma once

#include <QString>

class Settings;

// A modal informational alert. The texts come already passed through
// QCoreApplication::translate with the context TranslationContext.
class StartupWarning
{
public:
    static constexpr const char *TranslationContext = "StartupWarning";

    static QString title();   // "Warning"
    static QString text();    // "Verbalo will change your ".strings" files. ..."
    static QString button();  // "OK"

    // Whether the warning is due: on the user's first start only. When it is,
    // "com.brenquil.stop.warning" is stored as true (and flushed) before this
    // returns, so the warning never shows twice, even if the program ends
    // while it is on screen.
    static bool shouldShowWarning(Settings &settings);
};
