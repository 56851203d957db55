// The single-field settings dialogs and the one-time warning, without windows.
#include "app/settings.h"
#include "app/settingsdialog.h"
#include "app/startupwarning.h"

#include <gtest/gtest.h>

namespace {

class SettingsDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        settings.remove(Settings::GoogleApiKey);
        settings.remove(Settings::BaseLanguage);
        settings.remove(Settings::StopWarning);
    }

    Settings settings;
};

TEST_F(SettingsDialogTest, ApiKeyDialog)
{
    SettingsDialog dialog = SettingsDialog::googleApiKey(settings);
    EXPECT_EQ(dialog.title, QStringLiteral("Google Translate API Key"));
    EXPECT_EQ(dialog.informativeText, QStringLiteral("API Key"));
    EXPECT_EQ(dialog.placeholder, QStringLiteral("Google Translate API Key"));
    EXPECT_EQ(dialog.initialText, QString());
    EXPECT_EQ(dialog.okButton, QStringLiteral("OK"));
    EXPECT_EQ(dialog.cancelButton, QStringLiteral("Cancel"));

    dialog.apply(settings, QStringLiteral("  AIza key "));
    EXPECT_EQ(settings.text(Settings::GoogleApiKey), QStringLiteral("  AIza key "));
    dialog = SettingsDialog::googleApiKey(settings);
    EXPECT_EQ(dialog.initialText, QStringLiteral("  AIza key "));

    dialog.apply(settings, QString());
    EXPECT_FALSE(settings.contains(Settings::GoogleApiKey));
}

TEST_F(SettingsDialogTest, BaseLanguageDialog)
{
    SettingsDialog dialog = SettingsDialog::baseLanguage(settings);
    EXPECT_EQ(dialog.title, QStringLiteral("Base Language"));
    EXPECT_EQ(dialog.informativeText,
              QStringLiteral("Set your base language (for example: \"en\" for English).\n"
                             "If you leave empty, defaults to [\"en\", \"en-US\", \"Base\"]"));
    EXPECT_EQ(dialog.placeholder, QStringLiteral("Base, en, en-US"));
    EXPECT_EQ(dialog.initialText, QString());
    dialog.apply(settings, QString());
    EXPECT_FALSE(settings.contains(Settings::BaseLanguage));

    dialog.apply(settings, QStringLiteral("de , en"));
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{"de", "en"}));
    dialog = SettingsDialog::baseLanguage(settings);
    EXPECT_EQ(dialog.placeholder, QStringLiteral("de, en"));
    EXPECT_EQ(dialog.initialText, QString());

    // One part is still a list; empty parts are kept.
    dialog.apply(settings, QStringLiteral("fr"));
    EXPECT_EQ(settings.value(Settings::BaseLanguage).typeId(), QMetaType::QStringList);
    dialog.apply(settings, QStringLiteral("en,\t,\nfr\n"));
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{"en", "", "fr"}));
    dialog.apply(settings, QStringLiteral("   "));
    EXPECT_EQ(settings.value(Settings::BaseLanguage), QVariant(QStringList{""}));

    // A single stored text starts the field and is the list in effect.
    settings.setValue(Settings::BaseLanguage, QStringLiteral("fr"));
    dialog = SettingsDialog::baseLanguage(settings);
    EXPECT_EQ(dialog.initialText, QStringLiteral("fr"));
    EXPECT_EQ(dialog.placeholder, QStringLiteral("fr"));
}

TEST_F(SettingsDialogTest, WarningIsDueOncePerUser)
{
    EXPECT_EQ(StartupWarning::title(), QStringLiteral("Warning"));
    EXPECT_EQ(StartupWarning::text(),
              QStringLiteral("Verbalo will change your \".strings\" files. Please make sure you "
                             "have commited them to your source control before you proceed."));
    EXPECT_EQ(StartupWarning::button(), QStringLiteral("OK"));

    EXPECT_TRUE(StartupWarning::shouldShowWarning(settings));
    // Stored before the alert is up, and seen by a fresh store.
    EXPECT_TRUE(Settings().boolValue(Settings::StopWarning));
    EXPECT_FALSE(StartupWarning::shouldShowWarning(settings));
}

} // namespace
