// Titles, shortcuts and menu layout of the shared actions.
#include "gui/mainmenu.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

MainMenu::MainMenu(QObject *parent) : QObject(parent)
{
    add(QStringLiteral("openFolder:"), tr("&Open Project Folder…"), QKeySequence::Open,
        QStringLiteral("document-open"), QStyle::SP_DialogOpenButton);
    add(QStringLiteral("save:"), tr("&Save"), QKeySequence::Save, QStringLiteral("document-save"),
        QStyle::SP_DialogSaveButton);
    add(QStringLiteral("exportTranslation:"), tr("&Export Untranslated…"),
        QKeySequence(Qt::CTRL | Qt::Key_E), QStringLiteral("document-export"),
        QStyle::SP_ArrowUp);
    add(QStringLiteral("loadTranslations:"), tr("&Import Translations…"),
        QKeySequence(Qt::CTRL | Qt::Key_I), QStringLiteral("document-import"),
        QStyle::SP_ArrowDown);
    add(QStringLiteral("showFileProblems:"), tr("Files &Not Written…"));
    add(QStringLiteral("closeTab:"), tr("&Close Project"), QKeySequence::Close,
        QStringLiteral("window-close"));
    add(QStringLiteral("quit:"), tr("&Quit"), QKeySequence::Quit,
        QStringLiteral("application-exit"));

    add(QStringLiteral("capitalize:"), tr("&Capitalize"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    add(QStringLiteral("upperCaase:"), tr("&Uppercase"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    add(QStringLiteral("lowerCase:"), tr("&Lowercase"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    add(QStringLiteral("copyBase:"), tr("Copy &Base to All Languages"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    add(QStringLiteral("copyMissingFromBase:"), tr("Copy Base to &Missing Languages"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    add(QStringLiteral("deleteTranslation:"), tr("Delete &Translations"),
        QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    add(QStringLiteral("deleteString:"), tr("&Delete Key"), QKeySequence::Delete,
        QStringLiteral("edit-delete"), QStyle::SP_TrashIcon);
    add(QStringLiteral("find:"), tr("&Find…"), QKeySequence::Find, QStringLiteral("edit-find"));

    QAction *hide = add(QStringLiteral("toggleTranslated:"), tr("&Hide Translated Rows"),
                        QKeySequence(Qt::CTRL | Qt::Key_H), QStringLiteral("view-filter"),
                        QStyle::SP_FileDialogContentsView);
    hide->setCheckable(true);

    add(QStringLiteral("translateGoogle:"), tr("Translate Selected with &Google"),
        QKeySequence(Qt::CTRL | Qt::Key_T), QStringLiteral("preferences-desktop-locale"),
        QStyle::SP_BrowserReload);
    add(QStringLiteral("autoTranslateSelected:"), tr("Fill &Selected from Memory"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), QStringLiteral("edit-paste"),
        QStyle::SP_FileDialogDetailedView);
    add(QStringLiteral("autoTranslate:"), tr("Fill &All Shown Rows from Memory"));
    add(QStringLiteral("scan:"), tr("S&can Folder into Memory…"), {},
        QStringLiteral("folder-saved-search"), QStyle::SP_DirIcon);
    add(QStringLiteral("cleanUp:"), tr("&Open Memory Database"));
    add(QStringLiteral("showDatabase:"), tr("Show Memory &Database Folder"));

    add(QStringLiteral("setGoogleAPIKey:"), tr("Google Translate &API Key…"));
    add(QStringLiteral("setBaseLang:"), tr("&Base Language…"));

    add(QStringLiteral("showHelp:"), tr("Verbalo &Help"), QKeySequence::HelpContents,
        QStringLiteral("help-contents"), QStyle::SP_DialogHelpButton);
    add(QStringLiteral("contactSupport:"), tr("&Contact Support…"), {},
        QStringLiteral("mail-send"));
}

QStringList MainMenu::commands()
{
    return {QStringLiteral("openFolder:"), QStringLiteral("save:"),
            QStringLiteral("exportTranslation:"), QStringLiteral("loadTranslations:"),
            QStringLiteral("showFileProblems:"), QStringLiteral("closeTab:"), QStringLiteral("quit:"),
            QStringLiteral("capitalize:"), QStringLiteral("upperCaase:"),
            QStringLiteral("lowerCase:"), QStringLiteral("copyBase:"),
            QStringLiteral("copyMissingFromBase:"), QStringLiteral("deleteTranslation:"),
            QStringLiteral("deleteString:"), QStringLiteral("find:"),
            QStringLiteral("toggleTranslated:"), QStringLiteral("translateGoogle:"),
            QStringLiteral("autoTranslateSelected:"), QStringLiteral("autoTranslate:"),
            QStringLiteral("scan:"), QStringLiteral("cleanUp:"), QStringLiteral("showDatabase:"),
            QStringLiteral("setGoogleAPIKey:"), QStringLiteral("setBaseLang:"),
            QStringLiteral("showHelp:"), QStringLiteral("contactSupport:")};
}

QAction *MainMenu::add(const QString &command, const QString &title, const QKeySequence &shortcut,
                       const QString &icon, int fallbackIcon)
{
    auto *action = new QAction(title, this);
    action->setObjectName(command);
    action->setShortcut(shortcut);
    // The desktop's icon theme when it has the icon, else the style's own.
    const QIcon fallback = fallbackIcon >= 0
        ? QApplication::style()->standardIcon(QStyle::StandardPixmap(fallbackIcon))
        : QIcon();
    if (!icon.isEmpty())
        action->setIcon(QIcon::fromTheme(icon, fallback));
    action->setIconVisibleInMenu(false);
    m_actions.insert(command, action);
    return action;
}

void MainMenu::populate(QMenuBar *bar) const
{
    const auto section = [this](QMenu *menu, const QStringList &commands) {
        for (const QString &command : commands) {
            if (command.isEmpty())
                menu->addSeparator();
            else
                menu->addAction(action(command));
        }
    };
    section(bar->addMenu(tr("&File")),
            {QStringLiteral("openFolder:"), QStringLiteral("save:"), QString(),
             QStringLiteral("exportTranslation:"), QStringLiteral("loadTranslations:"), QString(),
             QStringLiteral("showFileProblems:"), QString(), QStringLiteral("closeTab:"),
             QStringLiteral("quit:")});
    section(bar->addMenu(tr("&Edit")),
            {QStringLiteral("capitalize:"), QStringLiteral("upperCaase:"),
             QStringLiteral("lowerCase:"), QString(), QStringLiteral("copyBase:"),
             QStringLiteral("copyMissingFromBase:"), QString(),
             QStringLiteral("deleteTranslation:"), QStringLiteral("deleteString:"), QString(),
             QStringLiteral("find:")});
    section(bar->addMenu(tr("&View")), {QStringLiteral("toggleTranslated:")});
    section(bar->addMenu(tr("&Translate")),
            {QStringLiteral("translateGoogle:"), QString(),
             QStringLiteral("autoTranslateSelected:"), QStringLiteral("autoTranslate:"), QString(),
             QStringLiteral("scan:"), QStringLiteral("cleanUp:"),
             QStringLiteral("showDatabase:")});
    section(bar->addMenu(tr("&Settings")),
            {QStringLiteral("setGoogleAPIKey:"), QStringLiteral("setBaseLang:")});
    section(bar->addMenu(tr("&Help")),
            {QStringLiteral("showHelp:"), QStringLiteral("contactSupport:")});
}

void MainMenu::populate(QToolBar *bar) const
{
    const QList<std::pair<const char *, QString>> shortTitles{
        {"openFolder:", tr("Open")},          {"save:", tr("Save")},
        {"toggleTranslated:", tr("Hide Translated")}, {"translateGoogle:", tr("Google Translate")},
        {"autoTranslateSelected:", tr("Fill from Memory")}, {"exportTranslation:", tr("Export")},
        {"loadTranslations:", tr("Import")},  {"deleteString:", tr("Delete Key")}};
    for (const auto &[command, title] : shortTitles)
        action(QLatin1String(command))->setIconText(title);
    for (const QString &command :
         {QStringLiteral("openFolder:"), QStringLiteral("save:"), QString(),
          QStringLiteral("toggleTranslated:"), QString(), QStringLiteral("translateGoogle:"),
          QStringLiteral("autoTranslateSelected:"), QString(),
          QStringLiteral("exportTranslation:"), QStringLiteral("loadTranslations:"), QString(),
          QStringLiteral("deleteString:")}) {
        if (command.isEmpty())
            bar->addSeparator();
        else
            bar->addAction(action(command));
    }
}
