// The shell's start-up, window bookkeeping and command routing.
#include "gui/appdelegate.h"

#include "gui/mainmenu.h"
#include "gui/mainwindow.h"
#include "gui/openviewcontroller.h"
#include "gui/projectwindowcontroller.h"
#include "gui/startwindow.h"
#include "gui/stringsviewcontroller.h"
#include "gui/userprompts.h"

#include "shell/helppage.h"
#include "shell/savesettings.h"
#include "common/settings.h"
#include "shell/settingsdialog.h"
#include "shell/startupwarning.h"
#include "shell/supportscript.h"
#include "memory/databasemanagerv2.h"
#include "model/projectdiscovery.h"
#include "rating/plauder.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

namespace {
// Shows the busy cursor while discovery and loading block the window.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
} // namespace

AppDelegate::AppDelegate(UserPrompts &prompts, QObject *parent)
    : QObject(parent), m_prompts(prompts)
{
    m_menu = new MainMenu(commandTable(), this);
    m_hideTranslated = m_menu->action(QStringLiteral("toggleTranslated:"));
    m_hideTranslated->setCheckable(true);
    m_onlyProblems = m_menu->action(QStringLiteral("toggleProblems:"));
    m_onlyProblems->setCheckable(true);
    m_preserveLayout = m_menu->action(QStringLiteral("togglePreserveLayout:"));
    m_preserveLayout->setCheckable(true);
    m_preserveLayout->setChecked(SaveSettings::read().layout == SaveLayout::Preserve);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    applicationDidBecomeActive();
            });
}

AppDelegate::~AppDelegate()
{
    Plauder &plauder = Plauder::sharedInstance();
    if (plauder.delegate() == this)
        plauder.setDelegate(nullptr);
    m_projects.clear();
    delete m_openWindow.data();
}

StartWindow *AppDelegate::openWindow() const { return m_openWindow.data(); }

QAction *AppDelegate::action(const QString &command) const { return m_menu->action(command); }

QList<MenuCommand> AppDelegate::commandTable()
{
    using Menu = MenuCommand::Menu;
    const auto editor = [this](void (StringsViewController::*command)()) {
        return [this, command] { forward([command](StringsViewController &e) { (e.*command)(); }); };
    };
    const auto prompting = [this](void (StringsViewController::*command)(UserPrompts &)) {
        return [this, command] { forward([this, command](StringsViewController &e) { (e.*command)(m_prompts); }); };
    };
    const auto shell = [this](void (AppDelegate::*command)()) { return [this, command] { (this->*command)(); }; };
    const auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | key); };
    const auto ctrlShift = [](int key) { return QKeySequence(Qt::CTRL | Qt::SHIFT | key); };
    return {
        {"openFolder:", QT_TRANSLATE_NOOP("MainMenu", "&Open Project Folder…"), Menu::File, QKeySequence::Open,
         "document-open", QStyle::SP_DialogOpenButton, false, QT_TRANSLATE_NOOP("MainMenu", "Open"), 0,
         shell(&AppDelegate::openFolder)},
        {"save:", QT_TRANSLATE_NOOP("MainMenu", "&Save"), Menu::File, QKeySequence::Save, "document-save",
         QStyle::SP_DialogSaveButton, false, QT_TRANSLATE_NOOP("MainMenu", "Save"), 1,
         editor(&StringsViewController::save)},
        {"exportTranslation:", QT_TRANSLATE_NOOP("MainMenu", "&Export Untranslated…"), Menu::File, ctrl(Qt::Key_E),
         "document-export", QStyle::SP_ArrowUp, true, QT_TRANSLATE_NOOP("MainMenu", "Export"), 40,
         prompting(&StringsViewController::exportTranslation)},
        {"loadTranslations:", QT_TRANSLATE_NOOP("MainMenu", "&Import Translations…"), Menu::File, ctrl(Qt::Key_I),
         "document-import", QStyle::SP_ArrowDown, false, QT_TRANSLATE_NOOP("MainMenu", "Import"), 41,
         prompting(&StringsViewController::loadTranslations)},
        {"showFileProblems:", QT_TRANSLATE_NOOP("MainMenu", "Files &Not Written…"), Menu::File, {}, nullptr,
         QStyle::SP_CustomBase, true, nullptr, 0, [this] { forward([this](StringsViewController &e) {
             const QString problems = e.fileProblems();
             m_prompts.showWarning(tr("Files Not Written"),
                                   problems.isEmpty() ? tr("Every file of this project can be written.") : problems,
                                   tr("OK"));
         }); }},
        {"closeTab:", QT_TRANSLATE_NOOP("MainMenu", "&Close Project"), Menu::File, QKeySequence::Close,
         "window-close", QStyle::SP_CustomBase, true, nullptr, 0, [this] {
             if (ProjectWindowController *project = keyProjectWindow())
                 closeProjectWindow(project);
         }},
        {"quit:", QT_TRANSLATE_NOOP("MainMenu", "&Quit"), Menu::File, QKeySequence::Quit, "application-exit",
         QStyle::SP_CustomBase, false, nullptr, 0,
         [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); }},

        {"capitalize:", QT_TRANSLATE_NOOP("MainMenu", "&Capitalize"), Menu::Edit,
         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), nullptr, QStyle::SP_CustomBase, false, nullptr, 0,
         editor(&StringsViewController::capitalize)},
        {"upperCaase:", QT_TRANSLATE_NOOP("MainMenu", "&Uppercase"), Menu::Edit, ctrlShift(Qt::Key_U), nullptr,
         QStyle::SP_CustomBase, false, nullptr, 0, editor(&StringsViewController::upperCaase)},
        {"lowerCase:", QT_TRANSLATE_NOOP("MainMenu", "&Lowercase"), Menu::Edit, ctrlShift(Qt::Key_L), nullptr,
         QStyle::SP_CustomBase, false, nullptr, 0, editor(&StringsViewController::lowerCase)},
        {"copyBase:", QT_TRANSLATE_NOOP("MainMenu", "Copy &Base to All Languages"), Menu::Edit,
         ctrlShift(Qt::Key_B), nullptr, QStyle::SP_CustomBase, true, nullptr, 0,
         editor(&StringsViewController::copyBase)},
        {"copyMissingFromBase:", QT_TRANSLATE_NOOP("MainMenu", "Copy Base to &Missing Languages"), Menu::Edit,
         ctrlShift(Qt::Key_M), nullptr, QStyle::SP_CustomBase, false, nullptr, 0,
         editor(&StringsViewController::copyMissingFromBase)},
        {"deleteTranslation:", QT_TRANSLATE_NOOP("MainMenu", "Delete &Translations"), Menu::Edit,
         QKeySequence(Qt::SHIFT | Qt::Key_Delete), nullptr, QStyle::SP_CustomBase, true, nullptr, 0,
         editor(&StringsViewController::deleteTranslation)},
        {"deleteString:", QT_TRANSLATE_NOOP("MainMenu", "&Delete Key"), Menu::Edit, QKeySequence::Delete,
         "edit-delete", QStyle::SP_TrashIcon, false, QT_TRANSLATE_NOOP("MainMenu", "Delete Key"), 50,
         editor(&StringsViewController::deleteString)},
        {"find:", QT_TRANSLATE_NOOP("MainMenu", "&Find…"), Menu::Edit, QKeySequence::Find, "edit-find",
         QStyle::SP_CustomBase, true, nullptr, 0, editor(&StringsViewController::focusSearch)},

        {"toggleTranslated:", QT_TRANSLATE_NOOP("MainMenu", "&Hide Translated Rows"), Menu::View, ctrl(Qt::Key_H),
         "view-filter", QStyle::SP_FileDialogContentsView, false, QT_TRANSLATE_NOOP("MainMenu", "Hide Translated"),
         10, shell(&AppDelegate::toggleTranslated)},
        {"toggleProblems:", QT_TRANSLATE_NOOP("MainMenu", "Show Only Rows With &Problems"), Menu::View,
         ctrlShift(Qt::Key_P), nullptr, QStyle::SP_CustomBase, false, nullptr, 0,
         shell(&AppDelegate::toggleProblems)},

        {"translateGoogle:", QT_TRANSLATE_NOOP("MainMenu", "Translate Selected with &Google"), Menu::Translate,
         ctrl(Qt::Key_T), "preferences-desktop-locale", QStyle::SP_BrowserReload, false,
         QT_TRANSLATE_NOOP("MainMenu", "Google Translate"), 20, prompting(&StringsViewController::translateGoogle)},
        {"autoTranslateSelected:", QT_TRANSLATE_NOOP("MainMenu", "Fill &Selected from Memory"), Menu::Translate,
         ctrlShift(Qt::Key_F), "edit-paste", QStyle::SP_FileDialogDetailedView, true,
         QT_TRANSLATE_NOOP("MainMenu", "Fill from Memory"), 21, editor(&StringsViewController::autoTranslateSelected)},
        {"autoTranslate:", QT_TRANSLATE_NOOP("MainMenu", "Fill &All Shown Rows from Memory"), Menu::Translate, {},
         nullptr, QStyle::SP_CustomBase, false, nullptr, 0, editor(&StringsViewController::autoTranslate)},
        {"scan:", QT_TRANSLATE_NOOP("MainMenu", "S&can Folder into Memory…"), Menu::Translate, {},
         "folder-saved-search", QStyle::SP_DirIcon, true, nullptr, 0, shell(&AppDelegate::scan)},
        {"cleanUp:", QT_TRANSLATE_NOOP("MainMenu", "&Open Memory Database"), Menu::Translate, {}, nullptr,
         QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::cleanUp)},
        {"showDatabase:", QT_TRANSLATE_NOOP("MainMenu", "Show Memory &Database Folder"), Menu::Translate, {},
         nullptr, QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::showDatabase)},

        {"setGoogleAPIKey:", QT_TRANSLATE_NOOP("MainMenu", "Google Translate &API Key…"), Menu::Settings, {},
         nullptr, QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::setGoogleAPIKey)},
        {"setBaseLang:", QT_TRANSLATE_NOOP("MainMenu", "&Base Language…"), Menu::Settings, {}, nullptr,
         QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::setBaseLang)},
        {"setIgnoredLanguages:", QT_TRANSLATE_NOOP("MainMenu", "&Ignored Languages…"), Menu::Settings, {}, nullptr,
         QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::setIgnoredLanguages)},
        {"togglePreserveLayout:", QT_TRANSLATE_NOOP("MainMenu", "&Keep Each File's Layout When Saving"),
         Menu::Settings, {}, nullptr, QStyle::SP_CustomBase, true, nullptr, 0,
         shell(&AppDelegate::togglePreserveLayout)},

        {"showHelp:", QT_TRANSLATE_NOOP("MainMenu", "Verbalo &Help"), Menu::Help, QKeySequence::HelpContents,
         "help-contents", QStyle::SP_DialogHelpButton, false, nullptr, 0, shell(&AppDelegate::showHelp)},
        {"contactSupport:", QT_TRANSLATE_NOOP("MainMenu", "&Contact Support…"), Menu::Help, {}, "mail-send",
         QStyle::SP_CustomBase, false, nullptr, 0, shell(&AppDelegate::contactSupport)},
    };
}

void AppDelegate::applicationDidFinishLaunching(const QStringList &paths)
{
    Plauder::sharedInstance().configureForShell(this);
    Settings settings;
    m_hideTranslated->setChecked(settings.boolValue(Settings::HideTranslated));
    m_onlyProblems->setChecked(settings.boolValue(Settings::OnlyProblems));
    if (StartupWarning::shouldShowWarning(settings))
        m_prompts.showWarning(StartupWarning::title(), StartupWarning::text(),
                              StartupWarning::button());
    m_launched = true;
    bool opened = false;
    for (const QString &path : paths)
        opened = openPath(path) || opened;
    if (!opened)
        showOpenWindowIfNeeded();
}

void AppDelegate::applicationDidBecomeActive()
{
    Plauder::sharedInstance().appDidBeacomeActive(true);
    // The warning of the start-up sequence makes the program active before
    // launching has finished; the start window waits for its end.
    if (m_launched)
        showOpenWindowIfNeeded();
}

bool AppDelegate::openPath(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    openFolderAt(QFileInfo(path).absoluteFilePath());
    return true;
}

void AppDelegate::showOpenWindowIfNeeded()
{
    if (m_openWindow && m_openWindow->isVisible())
        return;
    if (!m_projects.empty())
        return;
    if (m_openWindow)
        m_openWindow->deleteLater();
    m_openWindow = new StartWindow(Settings().recentFolders());
    m_menu->populate(m_openWindow->menuBar());
    m_openWindow->setWindowTitle(tr("Verbalo"));
    OpenViewController *view = m_openWindow->openView();
    connect(view, &OpenViewController::openProject, this, &AppDelegate::openFolder);
    connect(view, &OpenViewController::scan, this, &AppDelegate::scan);
    connect(view, &OpenViewController::showHelp, this, &AppDelegate::showHelp);
    connect(view, &OpenViewController::openFolderRequested, this, &AppDelegate::openFolderAt);
    connect(m_openWindow, &AppWindow::pathDropped, this, &AppDelegate::openPath);
    connect(m_openWindow, &AppWindow::closeRequestedByUser, this,
            &AppDelegate::openWindowClosedByUser);
    m_openWindow->show();
    m_openWindow->raise();
    m_openWindow->activateWindow();
}

void AppDelegate::closeOpenWindow()
{
    if (m_openWindow)
        m_openWindow->close();
}

void AppDelegate::openWindowClosedByUser()
{
    // Without a visible window the program could never become active again,
    // so closing the start window with no project open ends it.
    if (m_projects.empty())
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void AppDelegate::openFolder()
{
    closeOpenWindow();
    const std::optional<QString> folder = m_prompts.chooseFolder(tr("Choose Project Folder"));
    // Cancelled, or confirmed without a location: the start window comes
    // back when no project is open, since nothing else could be reached.
    if (!folder || folder->isEmpty()) {
        showOpenWindowIfNeeded();
        return;
    }
    openFolderAt(*folder);
}

void AppDelegate::openFolderAt(const QString &folder)
{
    closeOpenWindow();
    QStringList roots;
    QList<SkippedPath> skipped;
    {
        const BusyCursor busy;
        roots = ProjectDiscovery::discover(folder, &skipped);
        Settings().addRecentFolder(folder);
        for (const QString &root : std::as_const(roots)) {
            // A project open already (found again through its own folder, a
            // parent or a child) comes forward: a second model of the same
            // files would undo the first one's edits at its next save.
            ProjectWindowController *open = projectAt(root);
            if (open)
                m_mainWindow->setCurrentProject(open);
            else
                openProjectWindow(root);
        }
    }
    if (!skipped.isEmpty())
        showStatus(tr("%n folder(s) below %1 could not be read and were left out.", "", int(skipped.size()))
                       .arg(QDir::toNativeSeparators(folder)));
    if (m_mainWindow && !m_projects.empty()) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    // Nothing found: with no window left the program could not be reached.
    if (m_projects.empty())
        showOpenWindowIfNeeded();
}

void AppDelegate::ensureMainWindow()
{
    if (m_mainWindow)
        return;
    m_mainWindow = std::make_unique<MainWindow>();
    m_menu->populate(m_mainWindow->menuBar());
    QToolBar *tools = m_mainWindow->addToolBar(tr("Commands"));
    tools->setObjectName(QStringLiteral("commands"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_menu->populate(tools);
    connect(m_mainWindow.get(), &MainWindow::projectCloseRequested, this,
            &AppDelegate::closeProjectWindow);
    connect(m_mainWindow.get(), &AppWindow::pathDropped, this, &AppDelegate::openPath);
    connect(m_mainWindow.get(), &AppWindow::closeRequestedByUser, this,
            &AppDelegate::mainWindowClosedByUser);
}

void AppDelegate::openProjectWindow(const QString &projectRoot)
{
    ensureMainWindow();
    auto project = std::make_unique<ProjectWindowController>();
    project->setProjectURL(projectRoot);
    connect(project.get(), &ProjectWindowController::notice, this,
            [this](const QString &text) { showStatus(text); });
    project->open();
    m_mainWindow->addProject(project.get());
    m_mainWindow->setCurrentProject(project.get());
    m_projects.push_back(std::move(project));
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void AppDelegate::closeProjectWindow(ProjectWindowController *project)
{
    const auto it = std::find_if(m_projects.begin(), m_projects.end(),
                                 [project](const auto &p) { return p.get() == project; });
    if (it != m_projects.end()) {
        if (m_mainWindow)
            m_mainWindow->removeProject(project);
        m_projects.erase(it);
    }
    if (m_projects.empty()) {
        if (m_mainWindow)
            m_mainWindow->hide();
        showOpenWindowIfNeeded();
    }
}

void AppDelegate::mainWindowClosedByUser()
{
    while (!m_projects.empty())
        closeProjectWindow(m_projects.back().get());
}

ProjectWindowController *AppDelegate::projectAt(const QString &root) const
{
    for (const auto &project : m_projects)
        if (ProjectDiscovery::isSameFolder(project->projectURL(), root))
            return project.get();
    return nullptr;
}

ProjectWindowController *AppDelegate::keyProjectWindow() const
{
    if (!m_mainWindow || QApplication::activeWindow() != m_mainWindow.get())
        return nullptr;
    return m_mainWindow->currentProject();
}

void AppDelegate::forward(const std::function<void(StringsViewController &)> &command)
{
    ProjectWindowController *project = keyProjectWindow();
    if (!project)
        return;
    StringsViewController *editor = project->editor();
    // While a translation job writes the model, the editor takes no commands.
    if (!editor || editor->isBusy())
        return;
    command(*editor);
}

void AppDelegate::toggleTranslated()
{
    Settings settings;
    settings.setValue(Settings::HideTranslated, !settings.boolValue(Settings::HideTranslated));
    refreshProjects();
    m_hideTranslated->setChecked(Settings().boolValue(Settings::HideTranslated));
}

void AppDelegate::toggleProblems()
{
    Settings settings;
    settings.setValue(Settings::OnlyProblems, !settings.boolValue(Settings::OnlyProblems));
    refreshProjects();
    m_onlyProblems->setChecked(Settings().boolValue(Settings::OnlyProblems));
}

void AppDelegate::refreshProjects()
{
    for (const auto &project : m_projects) {
        if (StringsViewController *editor = project->editor())
            editor->refresh();
    }
}

void AppDelegate::togglePreserveLayout()
{
    const bool preserve = SaveSettings::read().layout != SaveLayout::Preserve;
    SaveSettings::setLayout(preserve ? SaveLayout::Preserve : SaveLayout::Canonical);
    m_preserveLayout->setChecked(SaveSettings::read().layout == SaveLayout::Preserve);
    showStatus(preserve ? tr("Saves now edit only the entries that change and keep each file's layout")
                        : tr("Saves now rewrite every file in the canonical layout"),
               5000);
}

void AppDelegate::showStatus(const QString &text, int timeout)
{
    if (m_mainWindow)
        m_mainWindow->statusBar()->showMessage(text, timeout);
    if (m_openWindow)
        m_openWindow->statusBar()->showMessage(text, timeout);
}

void AppDelegate::scan()
{
    closeOpenWindow();
    const std::optional<QString> folder = m_prompts.chooseFolder(tr("Choose Folder With Strings"));
    if (!folder || folder->isEmpty()) {
        showOpenWindowIfNeeded();
        return;
    }
    DatabaseManagerV2 &memory = DatabaseManagerV2::shared();
    if (!m_scanConnected) {
        m_scanConnected = true;
        connect(&memory, &DatabaseManagerV2::scanProgress, this, &AppDelegate::scanProgress);
    }
    // The scan's progress shows in a status bar, so some window must be up.
    showOpenWindowIfNeeded();
    showStatus(tr("Scanning %1…").arg(QDir::toNativeSeparators(*folder)));
    auto *watcher = new QFutureWatcher<ScanResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        scanFinished(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(memory.scan(*folder));
}

void AppDelegate::scanProgress(int done, int found)
{
    showStatus(tr("Scanning into the translation memory: %1 of %2 folder groups").arg(done).arg(found));
}

void AppDelegate::scanFinished(const ScanResult &result)
{
    QString text = result.failure.isEmpty()
                       ? tr("Scan finished: %1 keys stored from %2 folder groups.")
                             .arg(result.keysStored)
                             .arg(result.groups)
                       : tr("Scan stopped: %1. %2 keys stored from %3 folder groups.")
                             .arg(result.failure)
                             .arg(result.keysStored)
                             .arg(result.groups);
    if (!result.skipped.isEmpty())
        text += QLatin1Char(' ')
                + tr("%n folder(s) could not be read and were left out.", "", int(result.skipped.size()));
    showStatus(text);
}

void AppDelegate::cleanUp() { DatabaseManagerV2::shared(); }

void AppDelegate::setGoogleAPIKey()
{
    Settings settings;
    askAndApply(SettingsDialog::googleApiKey(settings), settings);
}

void AppDelegate::setBaseLang()
{
    Settings settings;
    askAndApply(SettingsDialog::baseLanguage(settings), settings);
}

void AppDelegate::setIgnoredLanguages()
{
    Settings settings;
    askAndApply(SettingsDialog::ignoredLanguages(settings), settings);
    // Statuses, the filters and the problems all depend on them.
    refreshProjects();
}

void AppDelegate::askAndApply(SettingsDialog dialog, Settings &settings)
{
    QStringList openLanguages;
    for (const auto &project : m_projects)
        if (StringsViewController *editor = project->editor())
            openLanguages << editor->model().languages;
    for (;;) {
        const std::optional<QString> entered = m_prompts.askSingleField(
            {dialog.title, dialog.informativeText, dialog.placeholder, dialog.initialText,
             dialog.okButton, dialog.cancelButton});
        if (!entered)
            return;
        const QString warning = dialog.kind == SettingsDialog::Kind::BaseLanguage
                                    ? SettingsDialog::baseLanguageWarning(*entered, openLanguages)
                                    : QString();
        if (warning.isEmpty()
            || m_prompts.askToProceed(dialog.title, warning, SettingsDialog::useAnywayButton(),
                                      SettingsDialog::goBackButton())) {
            dialog.apply(settings, *entered);
            return;
        }
        // Back to the dialog with what was typed, to mend it.
        dialog.initialText = *entered;
    }
}

void AppDelegate::showDatabase()
{
    const QString path = DatabaseManagerV2::shared().databasePath();
    if (path.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

void AppDelegate::showHelp()
{
    const QUrl page = HelpPage::location();
    if (!page.isEmpty())
        QDesktopServices::openUrl(page);
}

void AppDelegate::contactSupport()
{
    const BusyCursor busy;
    SupportScript::contactSupport();
}
