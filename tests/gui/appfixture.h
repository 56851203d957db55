// A shell with scripted prompts over small projects written to a temporary
// folder: App1 (en, de) and App2 (en, fr), two rows each, one row finished.
#pragma once

#include "gui/appdelegate.h"
#include "fakeprompts.h"
#include "gui/mainwindow.h"
#include "gui/projectwindowcontroller.h"
#include "gui/startwindow.h"
#include "gui/stringsviewcontroller.h"
#include "testsupport.h"
#include "gui/translationsviewcontroller.h"

#include "common/settings.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QTableView>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings settings;
        for (const QString &key : {Settings::HideTranslated, Settings::BaseLanguage, Settings::GoogleApiKey,
                                   Settings::RecentFolders, Settings::OnlyProblems, Settings::IgnoredLanguages,
                                   Settings::SavingLayout})
            settings.remove(key);
        settings.setValue(Settings::StopWarning, true);
        root = m_dir.path();
        writeFile(root, "App1/en.lproj/Localizable.strings",
                  "/* Greeting */\n\"hello\" = \"Hello\";\n\n/* Farewell */\n\"bye\" = \"Bye\";\n");
        writeFile(root, "App1/de.lproj/Localizable.strings", "/* Greeting */\n\"hello\" = \"Hallo\";\n");
        writeFile(root, "App2/en.lproj/Localizable.strings",
                  "/* Button */\n\"ok\" = \"OK\";\n\n/* Button */\n\"cancel\" = \"Cancel\";\n");
        writeFile(root, "App2/fr.lproj/Localizable.strings", "/* Button */\n\"ok\" = \"OK\";\n");
        delegate = std::make_unique<AppDelegate>(prompts);
        delegate->applicationDidFinishLaunching();
    }

    bool startWindowVisible() const
    {
        return delegate->openWindow() && delegate->openWindow()->isVisible();
    }

    void TearDown() override
    {
        testers.clear();
        delegate.reset();
    }

    QString path(const QString &relative) const { return root + QLatin1Char('/') + relative; }

    void trigger(const char *command) { delegate->action(QLatin1String(command))->trigger(); }

    // Opens both projects through the folder chooser, as the user would; the
    // last one opened is current unless another is named.
    void openBoth(int current = -1)
    {
        prompts.folderAnswers << root;
        trigger("openFolder:");
        ASSERT_EQ(delegate->projects().size(), 2u);
        // Every change the tests make to the tables is checked against the
        // rules of item models.
        for (size_t i = 0; i < 2; ++i)
            for (QAbstractItemModel *table :
                 {editor(i)->tableView()->model(), panel(i)->tableView()->model()})
                testers.push_back(std::make_unique<QAbstractItemModelTester>(
                    table, QAbstractItemModelTester::FailureReportingMode::Fatal));
        activate(delegate->mainWindow());
        if (current >= 0)
            delegate->mainWindow()->setCurrentProject(delegate->projects().at(size_t(current)).get());
    }

    QByteArray fileBytes(const char *relative) const { return readFile(path(QLatin1String(relative))); }

    static void activate(QWidget *window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    StringsViewController *editor(size_t i) const { return delegate->projects().at(i)->editor(); }
    TranslationsViewController *panel(size_t i) const { return delegate->projects().at(i)->panel(); }

    FakePrompts prompts;
    std::unique_ptr<AppDelegate> delegate;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    QString root;

private:
    QTemporaryDir m_dir;
};
