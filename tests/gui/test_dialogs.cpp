// The settings dialogs and the one-time warning, answered by the fake prompts.
#include "appfixture.h"

TEST_F(AppFixture, ApiKeyDialogStoresAndRemovesTheKey)
{
    prompts.fieldAnswers << " key 1 ";
    trigger("setGoogleAPIKey:");
    EXPECT_EQ(Settings().text(Settings::GoogleApiKey), " key 1 ");

    prompts.fieldAnswers << std::nullopt; // Cancel
    trigger("setGoogleAPIKey:");
    EXPECT_EQ(prompts.fieldRequests.value(1).initialText, " key 1 ");
    EXPECT_EQ(Settings().text(Settings::GoogleApiKey), " key 1 ");

    prompts.fieldAnswers << QString();
    trigger("setGoogleAPIKey:");
    EXPECT_FALSE(Settings().contains(Settings::GoogleApiKey));
}

TEST_F(AppFixture, TheWarningIsShownOncePerUser)
{
    Settings().remove(Settings::StopWarning);
    delegate->applicationDidFinishLaunching();
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_TRUE(prompts.warnings.at(0).at(1).startsWith("Verbalo will change your \".strings\""));
    EXPECT_TRUE(Settings().boolValue(Settings::StopWarning));

    FakePrompts later;
    AppDelegate secondRun(later);
    secondRun.applicationDidFinishLaunching();
    EXPECT_TRUE(later.warnings.isEmpty());
}

// What an export holds is the editor's concern; here the menu asks for the file.
TEST_F(AppFixture, ExportAsksForAStringsFileAndWritesTheUntranslatedRows)
{
    openBoth(0);
    prompts.saveAnswers << path("out.strings");
    trigger("exportTranslation:");
    EXPECT_EQ(prompts.saveTitles, QStringList{"Choose Folder|strings"});
    EXPECT_EQ(readFile(path("out.strings")), "/* Farewell */\n\"bye\" = \"Bye\";\n\n");
}

// How the answer is stored is SettingsDialog's concern (see the shell tests).
// A list that matches no language of the open projects would leave every row
// without a base text: the user confirms it or goes back to mend it.
TEST_F(AppFixture, ABaseLanguageMatchingNoProjectIsConfirmedOrTakenBack)
{
    openBoth(0);
    prompts.fieldAnswers << "EN" << "EN, de";
    prompts.proceedAnswers << false;
    trigger("setBaseLang:");
    EXPECT_TRUE(prompts.questions.value(0).contains("No open project has a language named EN"));
    // Going back shows the dialog again with what was typed.
    EXPECT_EQ(prompts.fieldRequests.at(1).initialText, "EN");
    EXPECT_EQ(Settings().value(Settings::BaseLanguage).toStringList(), (QStringList{"EN", "de"}));

    prompts.fieldAnswers << " , ";
    trigger("setBaseLang:");
    EXPECT_TRUE(prompts.questions.last().contains("The entry names no language"));
    EXPECT_EQ(Settings().value(Settings::BaseLanguage).toStringList(), (QStringList{"EN", "de"}));
}
