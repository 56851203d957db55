// The main menu and tool bar: every command the shell understands, with its
// title, shortcut, icon, place and handler in one table. Both top-level
// windows show it.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <QStyle>
#include <functional>

class QAction;
class QMenuBar;
class QToolBar;

// One row of the command table.
struct MenuCommand
{
    enum class Menu { File, Edit, View, Translate, Settings, Help };

    const char *name;            // the command as the shell knows it: "save:", "upperCaase:"
    const char *title;           // marked with QT_TRANSLATE_NOOP("MainMenu", ...)
    Menu menu;
    QKeySequence shortcut = {};
    const char *icon = nullptr;  // a theme icon name
    QStyle::StandardPixmap fallbackIcon = QStyle::SP_CustomBase; // none
    bool separatorBefore = false;
    const char *toolBarTitle = nullptr; // on the tool bar with this short title
    int toolBarPlace = 0;               // order on the tool bar; a gap of ten or more is a separator
    std::function<void()> run = {};
};

class MainMenu : public QObject
{
    Q_OBJECT
public:
    // Makes one action per command, connected to its handler.
    explicit MainMenu(const QList<MenuCommand> &commands, QObject *parent = nullptr);

    // The action that sends a command, by its name; null for an unknown name.
    QAction *action(const QString &command) const { return m_actions.value(command); }
    // Every command name, in menu order.
    QStringList commands() const;

    // Fills a window's menu bar with the shared actions.
    void populate(QMenuBar *bar) const;
    // The most used commands, for the main window's tool bar.
    void populate(QToolBar *bar) const;

private:
    QList<MenuCommand> m_commands;
    QHash<QString, QAction *> m_actions;
};
