// Save settings through the one settings store.
#include "shell/savesettings.h"

#include "common/settings.h"

SaveOptions SaveSettings::read()
{
    const Settings settings;
    SaveOptions options;
    options.layout = SaveOptions::layoutNamed(settings.text(Settings::SavingLayout).value_or(QString()))
                         .value_or(SaveLayout::Canonical);
    options.collationLocale = settings.text(Settings::SavingCollationLocale).value_or(QString()).trimmed();
    return options;
}

void SaveSettings::setLayout(SaveLayout layout)
{
    Settings().setValue(Settings::SavingLayout, SaveOptions::nameOf(layout));
}
