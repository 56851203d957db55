// The shell through its real windows: tabs, the start window, command routing,
// hide-translated and saving.
#include "appfixture.h"

#include "gui/mainmenu.h"
#include "gui/openviewcontroller.h"
#include "gui/projectcellview.h"

#include <QDir>
#include <QLabel>

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

TEST_F(AppFixture, OpeningAFolderWithTwoProjectsGivesTwoTabsAndOneRecentEntry)
{
    ASSERT_TRUE(startWindowVisible());
    openBoth();
    EXPECT_EQ(prompts.folderTitles, QStringList{"Choose Project Folder"});
    EXPECT_EQ(delegate->mainWindow()->tabs()->count(), 2);
    EXPECT_FALSE(delegate->openWindow()->isVisible());
    EXPECT_EQ(Settings().recentFolders(), QStringList{root});
    // Each tab: editor in pane 0, panel in pane 1, both loaded and wired.
    EXPECT_EQ(editor(0)->model().keys.size(), 2);
    EXPECT_EQ(delegate->projects().at(0)->window()->widget(1), panel(0));
    EXPECT_EQ(delegate->mainWindow()->windowTitle(), editor(1)->title());
    EXPECT_EQ(editor(1)->title(), "2 - " + path("App2"));
}

TEST_F(AppFixture, StartWindowComesBackOnlyWhenTheLastProjectCloses)
{
    trigger("openFolder:"); // cancelled, with no project: the start window stays
    EXPECT_TRUE(startWindowVisible());
    openBoth();
    trigger("openFolder:");
    EXPECT_EQ(delegate->projects().size(), 2u);
    delegate->applicationDidBecomeActive();
    EXPECT_FALSE(startWindowVisible());
    delegate->closeProjectWindow(delegate->projects().front().get());
    EXPECT_EQ(delegate->projects().size(), 1u);
    EXPECT_FALSE(startWindowVisible());
    delegate->closeProjectWindow(delegate->projects().front().get());
    ASSERT_TRUE(startWindowVisible());
    EXPECT_FALSE(delegate->mainWindow()->isVisible());
    // The start window lists the folder just opened; a click opens it again.
    QListWidget *list = delegate->openWindow()->openView()->tableView();
    ASSERT_EQ(list->count(), 1);
    list->item(0)->setSelected(true);
    EXPECT_EQ(delegate->projects().size(), 2u);
    EXPECT_FALSE(delegate->openWindow()->isVisible());
}

TEST_F(AppFixture, PathsGivenAtLaunchAreOpenPathRequests)
{
    delegate.reset();
    FakePrompts other;
    AppDelegate missing(other);
    missing.applicationDidFinishLaunching({path("missing")});
    EXPECT_TRUE(missing.projects().empty());
    ASSERT_TRUE(missing.openWindow());
    EXPECT_TRUE(missing.openWindow()->isVisible());

    AppDelegate given(other);
    given.applicationDidFinishLaunching({path("App1")});
    EXPECT_EQ(given.projects().size(), 1u);
    EXPECT_FALSE(given.openWindow());
    EXPECT_EQ(Settings().recentFolders().value(0), path("App1"));
    // A plain file exists, so it is answered yes and searched like a folder.
    EXPECT_TRUE(given.openPath(path("App2/en.lproj/Localizable.strings")));
}

TEST_F(AppFixture, EditorCommandsDoNothingWithoutAKeyProjectWindow)
{
    const QByteArray before = fileBytes("App1/en.lproj/Localizable.strings");
    activate(delegate->openWindow());
    for (const char *command : {"upperCaase:", "deleteString:", "save:", "copyBase:"})
        trigger(command);
    EXPECT_TRUE(delegate->projects().empty());

    // A project open, but another window active: still nothing.
    prompts.folderAnswers << path("App1");
    trigger("openFolder:");
    ASSERT_EQ(delegate->projects().size(), 1u);
    editor(0)->selectRows({0, 1});
    QWidget other;
    activate(&other);
    trigger("upperCaase:");
    trigger("deleteString:");
    EXPECT_EQ(editor(0)->model().keys.size(), 2);
    EXPECT_EQ(fileBytes("App1/en.lproj/Localizable.strings"), before);

    activate(delegate->mainWindow());
    trigger("upperCaase:");
    EXPECT_TRUE(fileBytes("App1/en.lproj/Localizable.strings").contains("HELLO"));
}

TEST_F(AppFixture, SaveWritesOnlyTheCurrentProject)
{
    openBoth(0);
    for (size_t i = 0; i < 2; ++i) {
        ProjectModel &model = editor(i)->model();
        for (Row &row : model.data) {
            for (Entry &entry : row)
                entry.value = "Changed";
        }
    }
    trigger("save:");
    EXPECT_TRUE(fileBytes("App1/en.lproj/Localizable.strings").contains("Changed"));
    EXPECT_FALSE(fileBytes("App2/en.lproj/Localizable.strings").contains("Changed"));
}

TEST_F(AppFixture, HideTranslatedRefreshesEveryProjectAndFollowsTheCheckMark)
{
    Settings().setValue(Settings::HideTranslated, true);
    delegate->applicationDidFinishLaunching();
    EXPECT_TRUE(delegate->hideTranslated()->isChecked());
    openBoth();
    EXPECT_EQ(editor(0)->model().keys, QStringList{"bye-Localizable.strings"});
    EXPECT_EQ(editor(1)->model().keys, QStringList{"cancel-Localizable.strings"});

    trigger("toggleTranslated:");
    EXPECT_FALSE(delegate->hideTranslated()->isChecked());
    EXPECT_FALSE(Settings().boolValue(Settings::HideTranslated));
    EXPECT_EQ(editor(0)->model().keys.size(), 2);
    EXPECT_EQ(editor(1)->title(), "2 - " + path("App2"));
}

TEST_F(AppFixture, KeepingEachFilesLayoutIsASettingsMenuSwitch)
{
    QAction *preserve = delegate->action("togglePreserveLayout:");
    ASSERT_TRUE(preserve && preserve->isCheckable());
    EXPECT_FALSE(preserve->isChecked());
    openBoth();
    const QByteArray german = fileBytes("App1/de.lproj/Localizable.strings");
    trigger("togglePreserveLayout:");
    EXPECT_TRUE(preserve->isChecked());
    EXPECT_EQ(Settings().text(Settings::SavingLayout), "preserve");
    editor(0)->save();
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"), german);

    trigger("togglePreserveLayout:");
    EXPECT_FALSE(preserve->isChecked());
    editor(0)->save();
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"),
              "\n/* Greeting */\n\"hello\" = \"Hallo\";\n\n");
}

TEST_F(AppFixture, SearchNarrowsRowsOnTopOfTheFilterAndRetitles)
{
    openBoth();
    StringsViewController *e = editor(0);
    e->setSearchText("HALLO");
    EXPECT_EQ(e->model().keys, QStringList{"hello-Localizable.strings"});
    EXPECT_EQ(e->title(), "1 - " + path("App1"));
    trigger("toggleTranslated:");
    e->setSearchText("greeting");
    EXPECT_TRUE(e->model().keys.isEmpty());
    e->setSearchText(QString());
    EXPECT_EQ(e->model().keys.size(), 1);
}

TEST_F(AppFixture, DroppingAFolderOpensItAndClosingATabClosesTheProject)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("App2"))});
    QWidget *target = delegate->openWindow()->centralWidget();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(delegate->projects().size(), 1u);
    EXPECT_EQ(delegate->projects().front()->projectURL(), path("App2"));

    emit delegate->mainWindow()->tabs()->tabCloseRequested(0);
    EXPECT_TRUE(delegate->projects().empty());
    EXPECT_TRUE(startWindowVisible());
}

TEST_F(AppFixture, ShortcutsReachTheCurrentProject)
{
    openBoth(0);
    StringsViewController *e = editor(0);
    e->selectRows({0});
    // Delete while typing in the search field edits the text, not the keys.
    e->searchField()->setFocus();
    e->searchField()->setText("xy");
    e->searchField()->setCursorPosition(0);
    QTest::keyClick(e->searchField(), Qt::Key_Delete);
    EXPECT_EQ(e->searchField()->text(), "y");
    EXPECT_EQ(e->model().keys.size(), 2);
    e->setSearchText(QString());
    e->selectRows({0});

    e->tableView()->setFocus();
    QTest::keyClick(e->tableView(), Qt::Key_Delete);
    EXPECT_EQ(e->model().keys, QStringList{"hello-Localizable.strings"});
    EXPECT_FALSE(fileBytes("App1/en.lproj/Localizable.strings").contains("bye"));

    QTest::keyClick(e->tableView(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(delegate->hideTranslated()->isChecked());
    EXPECT_TRUE(e->model().keys.isEmpty());
}

TEST_F(AppFixture, SortableHeadersResortAndOthersDoNot)
{
    openBoth();
    StringsViewController *e = editor(0);
    QHeaderView *header = e->tableView()->horizontalHeader();
    emit header->sectionClicked(3); // Status, ascending
    emit header->sectionClicked(3); // descending
    EXPECT_EQ(e->model().keys,
              (QStringList{"hello-Localizable.strings", "bye-Localizable.strings"}));
    EXPECT_EQ(e->sortDescriptor().column, Column::Status);
    EXPECT_FALSE(e->sortDescriptor().ascending);
    emit header->sectionClicked(2); // Comment is not sortable
    EXPECT_EQ(e->sortDescriptor().column, Column::Status);
    EXPECT_EQ(header->sortIndicatorSection(), 3);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(AppFixture, StartWindowListsRecentFoldersWithShortenedPaths)
{
    OpenViewController *empty = delegate->openWindow()->openView();
    EXPECT_TRUE(empty->tableView()->isHidden());
    EXPECT_FALSE(empty->emptyLabel()->isHidden());

    Settings settings;
    settings.addRecentFolder("/opt/elsewhere/Tool");
    settings.addRecentFolder(QDir::homePath() + "/Code/App");
    delegate->openWindow()->close();
    delegate->showOpenWindowIfNeeded();
    OpenViewController *view = delegate->openWindow()->openView();
    EXPECT_FALSE(view->tableView()->isHidden());
    EXPECT_TRUE(view->emptyLabel()->isHidden());
    ASSERT_EQ(view->tableView()->count(), 2);
    const auto cell = [view](int row) {
        return qobject_cast<ProjectCellView *>(
            view->tableView()->itemWidget(view->tableView()->item(row)));
    };
    ASSERT_TRUE(cell(0) && cell(1));
    EXPECT_EQ(cell(0)->nameLabel()->text(), "App");
    EXPECT_EQ(cell(0)->pathLabel()->text(), "~/Code/App");
}

TEST_F(AppFixture, FilesSavesCannotOwnAreNamedInTheStatusBarAndTheFileMenu)
{
    const QByteArray junk = "\"hello\" = \"Hallo\";\nnot an entry\n";
    writeFile(root, "App1/de.lproj/Localizable.strings", junk);
    prompts.folderAnswers << path("App1");
    trigger("openFolder:");
    activate(delegate->mainWindow());
    QStatusBar *status = delegate->mainWindow()->statusBar();
    EXPECT_TRUE(status->currentMessage().startsWith(
        "1 file(s) or folder(s) of this project will not be rewritten"))
        << status->currentMessage().toStdString();

    trigger("save:");
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"), junk);
    trigger("showFileProblems:");
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_EQ(prompts.warnings.last().at(0), "Files Not Written");
    EXPECT_TRUE(prompts.warnings.last().at(1).startsWith(path("App1/de.lproj/Localizable.strings") +
                                                         " — never rewritten: holds text"));

    // An edit to that file's rows is work that cannot be saved: the user is told.
    editor(0)->translationsChanged("hello-Localizable.strings", "de", "Servus");
    EXPECT_TRUE(status->currentMessage().startsWith("1 file(s) could not be written"))
        << status->currentMessage().toStdString();
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"), junk);
}

// Opening a project that is open already, through its own folder, a parent
// or a child, brings its tab forward instead of a second model of its files.
TEST_F(AppFixture, AnOpenProjectComesForwardInsteadOfOpeningTwice)
{
    openBoth(1);
    for (const QString &folder :
         {path("App1"), root, path("App1/de.lproj"), path("App1/../App1/")}) {
        delegate->mainWindow()->setCurrentProject(delegate->projects().at(1).get());
        prompts.folderAnswers << folder;
        trigger("openFolder:");
        EXPECT_EQ(delegate->projects().size(), 2u) << folder.toStdString();
        EXPECT_EQ(delegate->mainWindow()->currentProject(),
                  delegate->projects().at(folder == root ? 1 : 0).get())
            << folder.toStdString();
    }
}

// A rename onto another row's key of the same file is refused: the files and
// the cell keep the old key, and the status bar says why.
TEST_F(AppFixture, RenamingOntoAnotherRowsKeyIsRefusedInTheTable)
{
    openBoth(0);
    StringsViewController *strings = editor(0);
    const int hello = int(strings->model().keys.indexOf("hello-Localizable.strings"));
    const QModelIndex cell = strings->tableView()->model()->index(hello, 0);
    const QByteArray before = fileBytes("App1/en.lproj/Localizable.strings");
    EXPECT_TRUE(strings->tableView()->model()->setData(cell, "bye"));
    EXPECT_EQ(strings->tableView()->model()->data(cell).toString(), "hello");
    EXPECT_EQ(fileBytes("App1/en.lproj/Localizable.strings"), before);
    EXPECT_EQ(delegate->mainWindow()->statusBar()->currentMessage(),
              "Not renamed: Localizable.strings already has the key \"bye\"");
}
