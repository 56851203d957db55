// Builds the shared actions, the menus and the tool bar from the command table.
#include "gui/mainmenu.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <algorithm>

namespace {

QString menuTitle(MenuCommand::Menu menu)
{
    switch (menu) {
    case MenuCommand::Menu::File: return QCoreApplication::translate("MainMenu", "&File");
    case MenuCommand::Menu::Edit: return QCoreApplication::translate("MainMenu", "&Edit");
    case MenuCommand::Menu::View: return QCoreApplication::translate("MainMenu", "&View");
    case MenuCommand::Menu::Translate: return QCoreApplication::translate("MainMenu", "&Translate");
    case MenuCommand::Menu::Settings: return QCoreApplication::translate("MainMenu", "&Settings");
    case MenuCommand::Menu::Help: return QCoreApplication::translate("MainMenu", "&Help");
    }
    return {};
}

} // namespace

MainMenu::MainMenu(const QList<MenuCommand> &commands, QObject *parent)
    : QObject(parent), m_commands(commands)
{
    for (const MenuCommand &command : m_commands) {
        auto *action = new QAction(QCoreApplication::translate("MainMenu", command.title), this);
        action->setObjectName(QLatin1String(command.name));
        action->setShortcut(command.shortcut);
        // The desktop's icon theme when it has the icon, else the style's own.
        if (command.icon) {
            const QIcon fallback = command.fallbackIcon != QStyle::SP_CustomBase
                                       ? QApplication::style()->standardIcon(command.fallbackIcon)
                                       : QIcon();
            action->setIcon(QIcon::fromTheme(QLatin1String(command.icon), fallback));
        }
        action->setIconVisibleInMenu(false);
        if (command.toolBarTitle)
            action->setIconText(QCoreApplication::translate("MainMenu", command.toolBarTitle));
        if (command.run)
            connect(action, &QAction::triggered, this, command.run);
        m_actions.insert(QLatin1String(command.name), action);
    }
}

QStringList MainMenu::commands() const
{
    QStringList names;
    for (const MenuCommand &command : m_commands)
        names << QLatin1String(command.name);
    return names;
}

void MainMenu::populate(QMenuBar *bar) const
{
    QMenu *menu = nullptr;
    std::optional<MenuCommand::Menu> current;
    for (const MenuCommand &command : m_commands) {
        if (current != command.menu) {
            current = command.menu;
            menu = bar->addMenu(menuTitle(command.menu));
        } else if (command.separatorBefore) {
            menu->addSeparator();
        }
        menu->addAction(action(QLatin1String(command.name)));
    }
}

void MainMenu::populate(QToolBar *bar) const
{
    QList<const MenuCommand *> shown;
    for (const MenuCommand &command : m_commands)
        if (command.toolBarTitle)
            shown << &command;
    std::stable_sort(shown.begin(), shown.end(),
                     [](const MenuCommand *a, const MenuCommand *b) { return a->toolBarPlace < b->toolBarPlace; });
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (i > 0 && shown.at(i)->toolBarPlace - shown.at(i - 1)->toolBarPlace >= 10)
            bar->addSeparator();
        bar->addAction(action(QLatin1String(shown.at(i)->name)));
    }
}
