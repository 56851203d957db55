// Work that runs in the background: the folder scan reports in the status bar,
// and translating with Google goes through a progress dialog.
#include "appfixture.h"

#include "fakehttpserver.h"

#include <QStatusBar>
#include <QTableView>

TEST_F(AppFixture, ScanReportsInTheStatusBarAndSaysWhenItHasFinished)
{
    prompts.folderAnswers << root;
    trigger("scan:");
    ASSERT_TRUE(startWindowVisible());
    QStatusBar *status = delegate->openWindow()->statusBar();
    EXPECT_TRUE(QTest::qWaitFor(
        [status] { return status->currentMessage().startsWith(QLatin1String("Scan finished")); },
        30000))
        << status->currentMessage().toStdString();
}

// Without a key the job ends at once and leaves the selection; with one it runs
// in the background, then saves and shows the row.
TEST_F(AppFixture, TranslateGoogleNeedsAKeyThenRunsInTheBackgroundAndSaves)
{
    FakeHttpServer server;
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation("Tschüss"), 50, true};
    });
    qputenv("VERBALO_TRANSLATE_URL", server.url().toString().toUtf8());
    openBoth(0);
    editor(0)->selectRows({0, 1});
    trigger("translateGoogle:");
    EXPECT_EQ(prompts.progressDialogs, 1);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !editor(0)->isTranslating(); }, 10000));
    EXPECT_EQ(editor(0)->selectedRows(), (QList<int>{0, 1}));

    Settings().setValue(Settings::GoogleApiKey, "k");
    editor(0)->selectRows({0}); // bye, missing de
    trigger("translateGoogle:");
    EXPECT_TRUE(editor(0)->isTranslating());
    trigger("deleteString:"); // refused while the job owns the model
    EXPECT_TRUE(QTest::qWaitFor([this] { return !editor(0)->isTranslating(); }, 20000));
    qunsetenv("VERBALO_TRANSLATE_URL");

    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(editor(0)->model().keys.size(), 2);
    EXPECT_TRUE(fileBytes("App1/de.lproj/Localizable.strings").contains("\"bye\" = \"Tschüss\";"));
    QAbstractItemModel *panelModel = panel(0)->tableView()->model();
    EXPECT_EQ(panelModel->data(panelModel->index(0, 1)).toString(), "Tschüss");
}
