// Work that runs in the background: the folder scan reports in the status bar,
// and translating with Google goes through a progress dialog.
#include "appfixture.h"

#include <QStatusBar>

TEST_F(AppFixture, ScanReportsInTheStatusBarAndSaysWhenItHasFinished)
{
    trigger("scan:"); // cancelled
    EXPECT_EQ(prompts.folderTitles, QStringList{QStringLiteral("Choose Folder With Strings")});
    EXPECT_TRUE(startWindowVisible());

    prompts.folderAnswers << root;
    trigger("scan:");
    ASSERT_TRUE(startWindowVisible());
    QStatusBar *status = delegate->openWindow()->statusBar();
    EXPECT_TRUE(QTest::qWaitFor(
        [status] { return status->currentMessage().startsWith(QLatin1String("Scan finished")); },
        30000))
        << status->currentMessage().toStdString();
}

TEST_F(AppFixture, TranslateGoogleWithoutAKeyEndsWithoutTouchingTheFiles)
{
    openBoth();
    delegate->mainWindow()->setCurrentProject(delegate->projects().at(0).get());
    const QByteArray before = readFile(path(QStringLiteral("App1/de.lproj/Localizable.strings")));
    editor(0)->selectRows({0, 1});
    trigger("translateGoogle:");
    EXPECT_EQ(prompts.progressDialogs, 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !editor(0)->isTranslating(); }, 10000));
    EXPECT_EQ(readFile(path(QStringLiteral("App1/de.lproj/Localizable.strings"))), before);
    EXPECT_EQ(editor(0)->selectedRows(), (QList<int>{0, 1}));
}
