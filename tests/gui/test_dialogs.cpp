// The settings dialogs and the one-time warning, answered by the fake prompts.
#include "appfixture.h"

TEST_F(AppFixture, ApiKeyDialogStoresAndRemovesTheKey)
{
    prompts.fieldAnswers << " key 1 ";
    trigger("setGoogleAPIKey:");
    ASSERT_EQ(prompts.fieldRequests.size(), 1);
    const SingleFieldRequest first = prompts.fieldRequests.at(0);
    EXPECT_EQ(first.title, "Google Translate API Key");
    EXPECT_EQ(first.informativeText, "API Key");
    EXPECT_EQ(first.placeholder, "Google Translate API Key");
    EXPECT_EQ(first.okButton, "OK");
    EXPECT_EQ(first.cancelButton, "Cancel");
    EXPECT_EQ(Settings().text(Settings::GoogleApiKey), " key 1 ");

    prompts.fieldAnswers << std::nullopt; // Cancel
    trigger("setGoogleAPIKey:");
    EXPECT_EQ(prompts.fieldRequests.at(1).initialText, " key 1 ");
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
    EXPECT_EQ(prompts.warnings.at(0), (QStringList{"Warning",
                           QStringLiteral("Verbalo will change your \".strings\" files. Please make "
                                          "sure you have commited them to your source control "
                                          "before you proceed."),
                           "OK"}));
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
    EXPECT_EQ(prompts.fieldRequests.at(0).title, "Base Language");
    EXPECT_EQ(prompts.fieldRequests.at(0).informativeText,
              QStringLiteral("Set your base language (for example: \"en\" for English).\n"
                             "If you leave empty, defaults to [\"en\", \"en-US\", \"Base\"]"));
    EXPECT_EQ(prompts.fieldRequests.at(0).placeholder, "Base, en, en-US");
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions.at(0),
              "Base Language|No open project has a language named EN, so no row would have a base text. "
              "Use it anyway?");
    // Going back shows the dialog again with what was typed.
    EXPECT_EQ(prompts.fieldRequests.at(1).initialText, "EN");
    EXPECT_EQ(Settings().value(Settings::BaseLanguage).toStringList(), (QStringList{"EN", "de"}));

    prompts.fieldAnswers << " , ";
    trigger("setBaseLang:");
    EXPECT_TRUE(prompts.questions.last().endsWith("The entry names no language, so no row would have a "
                                                  "base text. Use it anyway?"));
    EXPECT_EQ(Settings().value(Settings::BaseLanguage).toStringList(), (QStringList{"EN", "de"}));
}
