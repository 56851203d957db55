// The translations panel beside the editor: what the selection shows, the
// highlight, and edits that reach the files.
#include "appfixture.h"

#include "memory/translationspanel.h"

#include <QAbstractItemModel>
#include <QPalette>
#include <QTableView>

namespace {
QString cell(TranslationsViewController *panel, int row, int column)
{
    QAbstractItemModel *model = panel->tableView()->model();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}
} // namespace

TEST_F(AppFixture, SelectionDecidesWhatThePanelShows)
{
    openBoth();
    StringsViewController *e = editor(0);
    TranslationsViewController *p = panel(0);
    EXPECT_EQ(p->tableView()->model()->rowCount(), 0);

    e->selectRows({0}); // bye: every project language is listed, de empty
    ASSERT_EQ(p->tableView()->model()->rowCount(), 2);
    EXPECT_EQ(cell(p, 0, 0), "de");
    EXPECT_EQ(cell(p, 0, 1), QString());
    EXPECT_EQ(cell(p, 1, 1), "Bye");

    e->selectRows({0, 1});
    EXPECT_EQ(p->tableView()->model()->rowCount(), 0);

    // A cleared selection leaves the last row shown.
    e->selectRows({1});
    e->clearSelection();
    EXPECT_EQ(cell(p, 0, 1), "Hallo");

    // A text equal to the base is drawn highlighted: "ok" in French.
    editor(1)->selectRows({1});
    QAbstractItemModel *fr = panel(1)->tableView()->model();
    EXPECT_EQ(fr->data(fr->index(1, 1), Qt::BackgroundRole).value<QBrush>(),
              QApplication::palette(panel(1)).brush(QPalette::Highlight));
    EXPECT_FALSE(fr->data(fr->index(0, 1), Qt::BackgroundRole).isValid()); // en itself
}

TEST_F(AppFixture, PanelEditRewritesTheFilesAlsoWithNoRowSelectedButNeverRevivesARow)
{
    openBoth(0);
    StringsViewController *e = editor(0);
    TranslationsViewController *p = panel(0);
    QAbstractItemModel *model = p->tableView()->model();
    const QString de = path("App1/de.lproj/Localizable.strings");

    e->selectRows({0}); // bye, missing de
    ASSERT_TRUE(model->setData(model->index(0, 1), " Tschüss ", Qt::EditRole));
    EXPECT_TRUE(readFile(de).contains("/* Farewell */\n\"bye\" = \" Tschüss \";"));
    EXPECT_EQ(e->model().cellText(0, Column::Status), "OK (1)");

    // The edit is kept even when the editor's selection went away meanwhile.
    e->clearSelection();
    ASSERT_TRUE(model->setData(model->index(0, 1), "Ciao", Qt::EditRole));
    EXPECT_TRUE(readFile(de).contains("\"bye\" = \"Ciao\";"));

    // Blank text removes the language's entry.
    ASSERT_TRUE(model->setData(model->index(0, 1), "  ", Qt::EditRole));
    EXPECT_FALSE(readFile(de).contains("\"bye\""));

    // An edit of a row deleted meanwhile does not bring it back.
    e->selectRows({0});
    trigger("deleteString:");
    model->setData(model->index(0, 1), "Tschüss", Qt::EditRole);
    EXPECT_FALSE(e->model().data.contains("bye-Localizable.strings"));
    EXPECT_FALSE(fileBytes("App1/en.lproj/Localizable.strings").contains("bye"));
}

TEST_F(AppFixture, PanelEditKeepsNewerChangesOfTheSameRow)
{
    openBoth();
    StringsViewController *e = editor(0);
    e->selectRows({1}); // hello
    QAbstractItemModel *table = e->tableView()->model();
    ASSERT_TRUE(table->setData(table->index(1, 1), "Hi there", Qt::EditRole));
    EXPECT_EQ(cell(panel(0), 1, 1), "Hi there");

    // Changed behind the panel's back, as a fill from memory would.
    e->model().data["hello-Localizable.strings"]["fr"] = Entry{"hello", "Salut", std::nullopt};
    QAbstractItemModel *model = panel(0)->tableView()->model();
    ASSERT_TRUE(model->setData(model->index(0, 1), "Servus", Qt::EditRole));
    const Row row = e->model().data.value("hello-Localizable.strings");
    EXPECT_EQ(row.value("en").value, "Hi there");
    EXPECT_EQ(row.value("de").value, "Servus");
    EXPECT_EQ(row.value("fr").value, "Salut");
    EXPECT_TRUE(fileBytes("App1/en.lproj/Localizable.strings").contains("Hi there"));
}

TEST(TranslationsPanel, EditsNeedARowWithABaseEntry)
{
    TranslationsPanel panel;
    const QStringList candidates{"Base", "en"};
    EXPECT_FALSE(panel.edit(0, "x", candidates));
    Row row;
    row.insert("fr", Entry{"k", "v", std::nullopt});
    panel.show("k-L.strings", row, {"fr", "de"});
    EXPECT_FALSE(panel.edit(0, "x", candidates)); // no base entry
    row.insert("en", Entry{"k", "v", "c"});
    panel.show("k-L.strings", row, {"fr", "de", "en"});
    ASSERT_TRUE(panel.edit(0, "Wert", candidates));
    EXPECT_EQ(panel.item->value("de"), (Entry{"k", "Wert", "c"}));
}
