// The one-time start-up warning: its texts and when it is due.
#include "startupwarning.h"

#include "common/settings.h"

#include <QCoreApplication>

QString StartupWarning::title()
{
    return QCoreApplication::translate(TranslationContext,
                                       QT_TRANSLATE_NOOP("StartupWarning", "Warning"));
}

QString StartupWarning::text()
{
    return QCoreApplication::translate(
        TranslationContext,
        QT_TRANSLATE_NOOP("StartupWarning",
                          "Verbalo will change your \".strings\" files. Please make sure you "
                          "have commited them to your source control before you proceed."));
}

QString StartupWarning::button()
{
    return QCoreApplication::translate(TranslationContext,
                                       QT_TRANSLATE_NOOP("StartupWarning", "OK"));
}

bool StartupWarning::shouldShowWarning(Settings &settings)
{
    if (settings.boolValue(Settings::StopWarning))
        return false;
    settings.setValue(Settings::StopWarning, true);
    return true;
}
