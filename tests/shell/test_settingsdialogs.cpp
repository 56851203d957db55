// The base-language dialog's parsing and initial field, without windows; the
// GUI tests drive both dialogs and the warning through the real menu.
#include "common/settings.h"
#include "shell/settingsdialog.h"

#include <gtest/gtest.h>

TEST(SettingsDialog, BaseLanguageIsAlwaysStoredAsAList)
{
    Settings settings;
    settings.remove(Settings::BaseLanguage);
    SettingsDialog dialog = SettingsDialog::baseLanguage(settings);
    dialog.apply(settings, QString());
    EXPECT_FALSE(settings.contains(Settings::BaseLanguage));

    // One part is still a list; empty parts are kept.
    dialog.apply(settings, "fr");
    EXPECT_EQ(settings.value(Settings::BaseLanguage).typeId(), QMetaType::QStringList);
    dialog.apply(settings, "en,\t,\nfr\n");
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{"en", "", "fr"}));
    dialog.apply(settings, "   ");
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{""}));

    // A single stored text starts the field and is the list in effect.
    settings.setValue(Settings::BaseLanguage, "fr");
    dialog = SettingsDialog::baseLanguage(settings);
    EXPECT_EQ(dialog.initialText, "fr");
    EXPECT_EQ(dialog.placeholder, "fr");
}

TEST(SettingsDialog, IgnoredLanguagesAreStoredCleanAndReadAtOnce)
{
    Settings settings;
    settings.remove(Settings::IgnoredLanguages);
    EXPECT_EQ(Settings::ignoredLanguages(), QStringList());
    SettingsDialog dialog = SettingsDialog::ignoredLanguages(settings);
    EXPECT_EQ(dialog.initialText, QString());

    // Trimmed, empty names and repeats dropped; the copy in use follows each write.
    dialog.apply(settings, " Base ,, de,Base\n");
    EXPECT_EQ(settings.value(Settings::IgnoredLanguages), QVariant(QStringList{"Base", "de"}));
    EXPECT_EQ(Settings::ignoredLanguages(), (QStringList{"Base", "de"}));
    EXPECT_EQ(SettingsDialog::ignoredLanguages(settings).initialText, "Base, de");
    dialog.apply(settings, " , ");
    EXPECT_FALSE(settings.contains(Settings::IgnoredLanguages));
    EXPECT_EQ(Settings::ignoredLanguages(), QStringList());
}
