// The interface in German over the real windows, with the translators the
// program installs at start-up.
#include "appfixture.h"

#include "gui/interfacelanguage.h"

#include <QHeaderView>
#include <QMenuBar>
#include <optional>

namespace {

// German goes in before the shell builds its menus, as in main(), and comes
// out after the shell is gone, so every other test keeps English.
class GermanAppFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        m_language.emplace(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_EQ(m_language->language(), "de");
        AppFixture::SetUp();
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        m_language.reset();
    }

private:
    std::optional<InterfaceLanguage> m_language;
};

} // namespace

TEST_F(GermanAppFixture, MenusColumnsStatusAndDialogsAreGerman)
{
    openBoth(0);
    QStringList menus;
    for (const QAction *menu : delegate->mainWindow()->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "Über&setzen",
                                  "&Einstellungen", "&Hilfe"}));
    // Qt's own texts come from the second translator: the names of keys.
    EXPECT_EQ(delegate->action("openFolder:")->shortcut().toString(QKeySequence::NativeText),
              "Strg+O");

    const QAbstractItemModel *table = editor(0)->tableView()->model();
    EXPECT_EQ(table->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Schlüssel");
    // A status text the core makes: "bye" has no German entry.
    const qsizetype bye = editor(0)->model().keys.indexOf("bye-Localizable.strings");
    ASSERT_GE(bye, 0);
    EXPECT_EQ(table->index(int(bye), Columns::section(Column::Status)).data().toString(),
              "Fehlt: de");

    prompts.fieldAnswers << std::nullopt;
    trigger("setBaseLang:");
    ASSERT_EQ(prompts.fieldRequests.size(), 1);
    EXPECT_EQ(prompts.fieldRequests.at(0).title, "Basissprache");
    EXPECT_EQ(prompts.fieldRequests.at(0).cancelButton, "Abbrechen");

    Settings().remove(Settings::StopWarning);
    delegate->applicationDidFinishLaunching();
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_EQ(prompts.warnings.at(0).at(0), "Warnung");
    EXPECT_TRUE(prompts.warnings.at(0).at(1).startsWith("Verbalo ändert Ihre „.strings“-Dateien."));
}
