// The settings dialogs and the one-time warning, answered by the fake prompts.
#include "appfixture.h"

TEST_F(AppFixture, ApiKeyDialogStoresAndRemovesTheKey)
{
    prompts.fieldAnswers << QStringLiteral(" key 1 ");
    trigger("setGoogleAPIKey:");
    ASSERT_EQ(prompts.fieldRequests.size(), 1);
    const SingleFieldRequest first = prompts.fieldRequests.at(0);
    EXPECT_EQ(first.title, QStringLiteral("Google Translate API Key"));
    EXPECT_EQ(first.informativeText, QStringLiteral("API Key"));
    EXPECT_EQ(first.placeholder, QStringLiteral("Google Translate API Key"));
    EXPECT_EQ(first.okButton, QStringLiteral("OK"));
    EXPECT_EQ(first.cancelButton, QStringLiteral("Cancel"));
    EXPECT_EQ(Settings().text(Settings::GoogleApiKey), QStringLiteral(" key 1 "));

    prompts.fieldAnswers << std::nullopt; // Cancel
    trigger("setGoogleAPIKey:");
    EXPECT_EQ(prompts.fieldRequests.at(1).initialText, QStringLiteral(" key 1 "));
    EXPECT_EQ(Settings().text(Settings::GoogleApiKey), QStringLiteral(" key 1 "));

    prompts.fieldAnswers << QString();
    trigger("setGoogleAPIKey:");
    EXPECT_FALSE(Settings().contains(Settings::GoogleApiKey));
}

TEST_F(AppFixture, BaseLanguageDialogStoresAListAndRemovesIt)
{
    prompts.fieldAnswers << QStringLiteral("de , en");
    trigger("setBaseLang:");
    EXPECT_EQ(prompts.fieldRequests.at(0).title, QStringLiteral("Base Language"));
    EXPECT_EQ(prompts.fieldRequests.at(0).informativeText,
              QStringLiteral("Set your base language (for example: \"en\" for English).\n"
                             "If you leave empty, defaults to [\"en\", \"en-US\", \"Base\"]"));
    EXPECT_EQ(prompts.fieldRequests.at(0).placeholder, QStringLiteral("Base, en, en-US"));
    EXPECT_EQ(Settings().value(Settings::BaseLanguage).toStringList(),
              (QStringList{QStringLiteral("de"), QStringLiteral("en")}));

    prompts.fieldAnswers << QString();
    trigger("setBaseLang:");
    EXPECT_EQ(prompts.fieldRequests.at(1).initialText, QString());
    EXPECT_EQ(prompts.fieldRequests.at(1).placeholder, QStringLiteral("de, en"));
    EXPECT_FALSE(Settings().contains(Settings::BaseLanguage));
}

TEST_F(AppFixture, TheWarningIsShownOncePerUser)
{
    Settings().remove(Settings::StopWarning);
    delegate->applicationDidFinishLaunching();
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_EQ(prompts.warnings.at(0),
              (QStringList{QStringLiteral("Warning"),
                           QStringLiteral("Verbalo will change your \".strings\" files. Please make "
                                          "sure you have commited them to your source control "
                                          "before you proceed."),
                           QStringLiteral("OK")}));
    EXPECT_TRUE(Settings().boolValue(Settings::StopWarning));

    FakePrompts later;
    AppDelegate secondRun(later);
    secondRun.applicationDidFinishLaunching();
    EXPECT_TRUE(later.warnings.isEmpty());
}

TEST_F(AppFixture, ExportAsksForAStringsFileAndWritesTheUntranslatedRows)
{
    openBoth();
    delegate->mainWindow()->setCurrentProject(delegate->projects().at(0).get());
    const QString target = path(QStringLiteral("out.strings"));
    prompts.saveAnswers << target;
    trigger("exportTranslation:");
    EXPECT_EQ(prompts.saveTitles, QStringList{QStringLiteral("Choose Folder|strings")});
    const QByteArray exported = readFile(target);
    EXPECT_TRUE(exported.contains("Farewell"));
    EXPECT_TRUE(exported.contains("\"bye\" = \"Bye\";\n\n"));
    EXPECT_FALSE(exported.contains("hello"));
}
