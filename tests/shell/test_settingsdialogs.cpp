// The base-language and ignored-languages dialogs' parsing and initial field,
// without windows; the GUI tests drive both dialogs through the real menu.
#include "common/settings.h"
#include "shell/settingsdialog.h"

#include <gtest/gtest.h>

TEST(SettingsDialog, BaseLanguageIsAListAndIgnoredLanguagesAreStoredClean)
{
    Settings settings;
    settings.remove(Settings::BaseLanguage);
    SettingsDialog dialog = SettingsDialog::baseLanguage(settings);
    dialog.apply(settings, QString());
    EXPECT_FALSE(settings.contains(Settings::BaseLanguage));

    // Always a list, even of one part; empty parts are kept.
    dialog.apply(settings, "en,\t,\nfr\n");
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{"en", "", "fr"}));
    dialog.apply(settings, "   ");
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{""}));
    settings.setValue(Settings::BaseLanguage, "fr");
    EXPECT_EQ(SettingsDialog::baseLanguage(settings).initialText, "fr");

    // Trimmed, empty names and repeats dropped; the copy in use follows each write.
    settings.remove(Settings::IgnoredLanguages);
    dialog = SettingsDialog::ignoredLanguages(settings);
    dialog.apply(settings, " Base ,, de,Base\n");
    EXPECT_EQ(settings.value(Settings::IgnoredLanguages), QVariant(QStringList{"Base", "de"}));
    EXPECT_EQ(Settings::ignoredLanguages(), (QStringList{"Base", "de"}));
    EXPECT_EQ(SettingsDialog::ignoredLanguages(settings).initialText, "Base, de");
    dialog.apply(settings, " , ");
    EXPECT_FALSE(settings.contains(Settings::IgnoredLanguages));
    EXPECT_EQ(Settings::ignoredLanguages(), QStringList());
}
