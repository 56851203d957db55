// The interface in German over the real windows, with the translators the
// program installs at start-up.
#include "appfixture.h"

#include "gui/interfacelanguage.h"

#include <QHeaderView>
#include <QMenuBar>

// German goes in before the shell builds its menus, as in main(), and comes
// out after the shell is gone, so every other test keeps English.
TEST_F(AppFixture, MenusColumnsStatusAndDialogsAreGerman)
{
    delegate.reset();
    InterfaceLanguage german(QLocale(QLocale::German, QLocale::Germany));
    delegate = std::make_unique<AppDelegate>(prompts);
    delegate->applicationDidFinishLaunching();
    openBoth(0);
    QStringList menus;
    for (const QAction *menu : delegate->mainWindow()->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "Über&setzen",
                                  "&Einstellungen", "&Hilfe"}));
    // Qt's own texts come from the second translator: the names of keys.
    EXPECT_EQ(delegate->action("openFolder:")->shortcut().toString(QKeySequence::NativeText),
              "Strg+O");

    // A status text the core makes: "bye", the first row, has no German entry.
    const QAbstractItemModel *table = editor(0)->tableView()->model();
    EXPECT_EQ(table->index(0, Columns::section(Column::Status)).data().toString(), "Fehlt: de");

    prompts.fieldAnswers << std::nullopt;
    trigger("setBaseLang:");
    ASSERT_EQ(prompts.fieldRequests.size(), 1);
    EXPECT_EQ(prompts.fieldRequests.at(0).title, "Basissprache");
    testers.clear();
    delegate.reset();
}
