// The shell through its real windows: tabs, the start window, command routing,
// hide-translated and saving.
#include "appfixture.h"

#include "gui/openviewcontroller.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

// A folder with two projects gives two tabs and one recent entry; the start
// window comes back only when the last project closes.
TEST_F(AppFixture, TwoProjectsGiveTwoTabsAndTheStartWindowComesBackAfterTheLast)
{
    trigger("openFolder:"); // cancelled, with no project: the start window stays
    EXPECT_TRUE(startWindowVisible());
    EXPECT_FALSE(delegate->openWindow()->openView()->emptyLabel()->isHidden());
    openBoth();
    EXPECT_EQ(delegate->mainWindow()->tabs()->count(), 2);
    EXPECT_EQ(Settings().recentFolders(), QStringList{root});
    EXPECT_EQ(delegate->mainWindow()->windowTitle(), "2 - " + path("App2"));
    delegate->applicationDidBecomeActive();
    emit delegate->mainWindow()->tabs()->tabCloseRequested(0);
    EXPECT_EQ(delegate->projects().size(), 1u);
    EXPECT_FALSE(startWindowVisible());
    delegate->closeProjectWindow(delegate->projects().front().get());
    ASSERT_TRUE(startWindowVisible());
    // The start window lists the folder just opened; a click opens it again.
    QListWidget *list = delegate->openWindow()->openView()->tableView();
    EXPECT_TRUE(delegate->openWindow()->openView()->emptyLabel()->isHidden());
    ASSERT_EQ(list->count(), 1);
    list->item(0)->setSelected(true);
    EXPECT_EQ(delegate->projects().size(), 2u);
    EXPECT_FALSE(delegate->openWindow()->isVisible());
}

// Paths given at launch and folders dropped on the start window are requests
// to open them.
TEST_F(AppFixture, PathsGivenAtLaunchOrDroppedAreOpenPathRequests)
{
    delegate.reset();
    FakePrompts other;
    AppDelegate missing(other);
    missing.applicationDidFinishLaunching({path("missing")});
    EXPECT_TRUE(missing.projects().empty());
    ASSERT_TRUE(missing.openWindow() && missing.openWindow()->isVisible());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("App2"))});
    QWidget *target = missing.openWindow()->centralWidget();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(missing.projects().size(), 1u);
    EXPECT_EQ(missing.projects().front()->projectURL(), path("App2"));

    AppDelegate given(other);
    given.applicationDidFinishLaunching({path("App1")});
    EXPECT_EQ(given.projects().size(), 1u);
    EXPECT_FALSE(given.openWindow());
    // A plain file exists, so it is answered yes and searched like a folder.
    EXPECT_TRUE(given.openPath(path("App2/en.lproj/Localizable.strings")));
}

// Editor commands and shortcuts reach the project of the key window only.
TEST_F(AppFixture, EditorCommandsAndShortcutsReachOnlyTheKeyProjectWindow)
{
    const QByteArray before = fileBytes("App1/en.lproj/Localizable.strings");
    // With no project, or one open but another window active: nothing happens.
    for (const char *command : {"upperCaase:", "deleteString:", "save:", "copyBase:"})
        trigger(command);
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

    // Delete while typing in the search field edits the text, not the keys.
    StringsViewController *e = editor(0);
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
}

// Hide-translated refreshes every project; the search narrows the rows on top
// of it, matching any text of any language, ignoring case, but not the file's name.
TEST_F(AppFixture, HideTranslatedAndSearchNarrowTheRowsAndRetitle)
{
    Settings().setValue(Settings::HideTranslated, true);
    delegate->applicationDidFinishLaunching();
    EXPECT_TRUE(delegate->hideTranslated()->isChecked());
    openBoth();
    StringsViewController *e = editor(0);
    EXPECT_EQ(e->model().keys, QStringList{"bye-Localizable.strings"});
    EXPECT_EQ(editor(1)->model().keys, QStringList{"cancel-Localizable.strings"});
    e->setSearchText("greeting");
    EXPECT_TRUE(e->model().keys.isEmpty());

    trigger("toggleTranslated:");
    EXPECT_FALSE(Settings().boolValue(Settings::HideTranslated));
    EXPECT_EQ(e->model().keys, QStringList{"hello-Localizable.strings"});
    e->setSearchText("HALLO");
    EXPECT_EQ(e->title(), "1 - " + path("App1"));
    e->setSearchText("Localizable");
    EXPECT_TRUE(e->model().keys.isEmpty());
}

// Save writes only the current project, keeping each file's layout while the
// Settings menu's switch is on.
TEST_F(AppFixture, SaveWritesTheCurrentProjectInTheLayoutTheMenuSwitchSays)
{
    openBoth(0);
    const QByteArray german = fileBytes("App1/de.lproj/Localizable.strings");
    trigger("togglePreserveLayout:");
    EXPECT_TRUE(delegate->action("togglePreserveLayout:")->isChecked());
    for (size_t i = 0; i < 2; ++i)
        (*editor(i)->model().data.begin())["en"].value = "Changed";
    trigger("save:");
    EXPECT_TRUE(fileBytes("App1/en.lproj/Localizable.strings").contains("Changed"));
    EXPECT_FALSE(fileBytes("App2/en.lproj/Localizable.strings").contains("Changed"));
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"), german);

    trigger("togglePreserveLayout:");
    trigger("save:");
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"),
              "\n/* Greeting */\n\"hello\" = \"Hallo\";\n\n");
}

TEST_F(AppFixture, SortableHeadersResortAndOthersDoNot)
{
    openBoth();
    StringsViewController *e = editor(0);
    QHeaderView *header = e->tableView()->horizontalHeader();
    emit header->sectionClicked(3); // Status, ascending
    emit header->sectionClicked(3); // descending
    emit header->sectionClicked(2); // Comment is not sortable
    EXPECT_EQ(e->model().keys,
              (QStringList{"hello-Localizable.strings", "bye-Localizable.strings"}));
    EXPECT_EQ(header->sortIndicatorSection(), 3);
}

// Files a save cannot own are named in the status bar and the File menu; a
// rename onto another row's key of the same file is refused with a reason.
TEST_F(AppFixture, RefusedWorkIsNamedInTheStatusBarAndTheFileMenu)
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
    EXPECT_TRUE(prompts.warnings.last().at(1).startsWith(path("App1/de.lproj/Localizable.strings") +
                                                         " — never rewritten: holds text"));

    // An edit to that file's rows is work that cannot be saved: the user is told.
    editor(0)->translationsChanged("hello-Localizable.strings", "de", "Servus");
    EXPECT_TRUE(status->currentMessage().startsWith("1 file(s) could not be written"))
        << status->currentMessage().toStdString();
    EXPECT_EQ(fileBytes("App1/de.lproj/Localizable.strings"), junk);

    // The files and the cell keep the old key.
    QAbstractItemModel *table = editor(0)->tableView()->model();
    const QModelIndex cell =
        table->index(int(editor(0)->model().keys.indexOf("hello-Localizable.strings")), 0);
    const QByteArray before = fileBytes("App1/en.lproj/Localizable.strings");
    EXPECT_TRUE(table->setData(cell, "bye"));
    EXPECT_EQ(table->data(cell).toString(), "hello");
    EXPECT_EQ(fileBytes("App1/en.lproj/Localizable.strings"), before);
    EXPECT_EQ(status->currentMessage(),
              "Not renamed: Localizable.strings already has the key \"bye\"");
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
