// The main menu: every command the shell understands, with titles, shortcuts
// and the "hide translated" check mark. Both top-level windows show it.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QString>

class QAction;
class QMenuBar;
class QToolBar;

class MainMenu : public QObject
{
    Q_OBJECT
public:
    explicit MainMenu(QObject *parent = nullptr);

    // The action that sends a command, by its name ("save:", "upperCaase:", ...).
    QAction *action(const QString &command) const { return m_actions.value(command); }
    const QHash<QString, QAction *> &actions() const { return m_actions; }
    // Every command name, in menu order.
    static QStringList commands();

    // Fills a window's menu bar with the shared actions.
    void populate(QMenuBar *bar) const;
    // The most used commands, for the main window's tool bar.
    void populate(QToolBar *bar) const;

private:
    QAction *add(const QString &command, const QString &title, const QKeySequence &shortcut = {},
                 const QString &icon = {}, int fallbackIcon = -1);

    QHash<QString, QAction *> m_actions;
};
