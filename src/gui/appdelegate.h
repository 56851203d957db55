// The application shell: keeps the open projects and the start window, runs the
// start-up sequence, and routes the main menu's commands — editor commands to
// the key window's editor, the others to itself.
#pragma once

#include "rating/reviewdelegate.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

struct ScanResult;

class MainMenu;
struct MenuCommand;
class MainWindow;
class ProjectWindowController;
class QAction;
class Settings;
class SettingsDialog;
class StartWindow;
class StringsViewController;
class UserPrompts;

class AppDelegate : public QObject, public ReviewDelegate
{
    Q_OBJECT
public:
    explicit AppDelegate(UserPrompts &prompts, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Life-cycle events. Launching ends by opening the paths handed to the
    // program (the open-path request) or, with none that exists, by offering
    // the start window.
    void applicationDidFinishLaunching(const QStringList &paths = {});
    void applicationDidBecomeActive();
    // The open-path request: opens an existing path as a chosen folder; false
    // (and nothing done) when nothing exists there.
    bool openPath(const QString &path);

    // Offers the start window when no project is open and none is visible.
    void showOpenWindowIfNeeded();
    // Opens every project found below a folder, one tab each.
    void openFolderAt(const QString &folder);
    void openProjectWindow(const QString &projectRoot);
    // Closes one project's tab, with the shell's bookkeeping.
    void closeProjectWindow(ProjectWindowController *project);

    // The project of the key window: the main window's current tab, only while
    // the main window is the active window. Null otherwise.
    ProjectWindowController *keyProjectWindow() const;

    // Shell commands.
    void toggleTranslated();
    // "Show Only Rows With Problems": flips the setting and refreshes every
    // project window.
    void toggleProblems();
    // Switches the "save.layout" setting between canonical and preserve.
    void togglePreserveLayout();
    void openFolder();
    void scan();
    void cleanUp();
    void setGoogleAPIKey();
    void setBaseLang();
    // The ignored-languages dialog; every project window is refreshed after.
    void setIgnoredLanguages();
    void showDatabase();
    void showHelp();
    void contactSupport();

    const std::vector<std::unique_ptr<ProjectWindowController>> &projects() const
    {
        return m_projects;
    }
    StartWindow *openWindow() const;
    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    MainMenu *menu() const { return m_menu; }
    QAction *action(const QString &command) const;
    QAction *hideTranslated() const { return m_hideTranslated; }
    QAction *onlyProblems() const { return m_onlyProblems; }

private:
    // Shows one of the single-field settings dialogs; "OK" stores its entry.
    // Shows the dialog and stores its answer; a base-language entry that names
    // no language of an open project is confirmed first, or taken back to
    // the dialog.
    void askAndApply(SettingsDialog dialog, Settings &settings);
    // Re-sorts and re-filters every open project window.
    void refreshProjects();
    // The open project whose root is that folder, or null.
    ProjectWindowController *projectAt(const QString &root) const;
    // Every menu command: its name, title, shortcut, icon, place and handler.
    QList<MenuCommand> commandTable();
    // Runs an editor command on the key window's editor; silently nothing
    // without one.
    void forward(const std::function<void(StringsViewController &)> &command);
    void closeOpenWindow();
    void openWindowClosedByUser();
    void mainWindowClosedByUser();
    void ensureMainWindow();
    void showStatus(const QString &text, int timeout = 0);
    void scanProgress(int done, int found);
    void scanFinished(const ScanResult &result);

    UserPrompts &m_prompts;
    MainMenu *m_menu;
    QAction *m_hideTranslated = nullptr;
    QAction *m_onlyProblems = nullptr;
    QAction *m_preserveLayout = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::vector<std::unique_ptr<ProjectWindowController>> m_projects;
    QPointer<StartWindow> m_openWindow;
    bool m_scanConnected = false;
    bool m_launched = false;
};
