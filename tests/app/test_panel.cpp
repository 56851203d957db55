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

    e->selectRows({1}); // hello: en and de
    ASSERT_EQ(p->tableView()->model()->rowCount(), 2);
    EXPECT_EQ(cell(p, 0, 0), QStringLiteral("de"));
    EXPECT_EQ(cell(p, 0, 1), QStringLiteral("Hallo"));
    EXPECT_EQ(cell(p, 1, 0), QStringLiteral("en"));

    e->selectRows({0}); // bye: every project language is listed, de empty
    ASSERT_EQ(p->tableView()->model()->rowCount(), 2);
    EXPECT_EQ(cell(p, 0, 1), QString());
    EXPECT_EQ(cell(p, 1, 1), QStringLiteral("Bye"));

    e->selectRows({0, 1});
    EXPECT_EQ(p->tableView()->model()->rowCount(), 0);

    e->selectRows({1});
    e->clearSelection();
    EXPECT_EQ(p->tableView()->model()->rowCount(), 2);
    EXPECT_EQ(cell(p, 0, 1), QStringLiteral("Hallo"));
}

TEST_F(AppFixture, TextsEqualToTheBaseAreDrawnHighlighted)
{
    writeFile(root, QStringLiteral("App1/de.lproj/Localizable.strings"),
              "/* Greeting */\n\"hello\" = \"Hello\";\n");
    openBoth();
    editor(0)->selectRows({1});
    QAbstractItemModel *model = panel(0)->tableView()->model();
    const QPalette palette = QApplication::palette(panel(0));
    EXPECT_EQ(model->data(model->index(0, 1), Qt::BackgroundRole).value<QBrush>(),
              palette.brush(QPalette::Highlight));
    EXPECT_EQ(model->data(model->index(0, 1), Qt::ForegroundRole).value<QBrush>(),
              palette.brush(QPalette::HighlightedText));
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->data(model->index(1, 1), Qt::BackgroundRole).isValid()); // en itself
}

TEST_F(AppFixture, PanelEditRewritesTheFilesAlsoWithNoRowSelected)
{
    openBoth();
    StringsViewController *e = editor(0);
    TranslationsViewController *p = panel(0);
    QAbstractItemModel *model = p->tableView()->model();
    const QString de = path(QStringLiteral("App1/de.lproj/Localizable.strings"));

    e->selectRows({0}); // bye, missing de
    EXPECT_EQ(e->model().statusText(QStringLiteral("bye-Localizable.strings")),
              QStringLiteral("Missing: de"));
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral(" Tschüss "), Qt::EditRole));
    EXPECT_TRUE(readFile(de).contains("\"bye\" = \" Tschüss \";"));
    EXPECT_TRUE(readFile(de).contains("/* Farewell */"));
    EXPECT_TRUE(e->model().statusText(QStringLiteral("bye-Localizable.strings")).startsWith("OK"));
    EXPECT_EQ(e->model().cellText(0, QStringLiteral("Status")), QStringLiteral("OK (1)"));

    // The edit is kept even when the editor's selection went away meanwhile.
    e->clearSelection();
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral("Ciao"), Qt::EditRole));
    EXPECT_TRUE(readFile(de).contains("\"bye\" = \"Ciao\";"));

    // Blank text removes the language's entry.
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral("  "), Qt::EditRole));
    EXPECT_FALSE(readFile(de).contains("\"bye\""));
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(AppFixture, PanelEditKeepsNewerChangesOfTheSameRow)
{
    openBoth();
    StringsViewController *e = editor(0);
    e->selectRows({1}); // hello
    QAbstractItemModel *table = e->tableView()->model();
    EXPECT_TRUE(table->flags(table->index(1, 2)) & Qt::ItemIsEditable);  // Comment
    EXPECT_FALSE(table->flags(table->index(1, 3)) & Qt::ItemIsEditable); // Status
    EXPECT_FALSE(table->flags(table->index(1, 4)) & Qt::ItemIsEditable); // File
    ASSERT_TRUE(table->setData(table->index(1, 1), QStringLiteral("Hi there"), Qt::EditRole));
    EXPECT_EQ(cell(panel(0), 1, 1), QStringLiteral("Hi there"));

    // Changed behind the panel's back, as a fill from memory would.
    e->model().data[QStringLiteral("hello-Localizable.strings")][QStringLiteral("fr")] =
        Entry{QStringLiteral("hello"), QStringLiteral("Salut"), std::nullopt};
    QAbstractItemModel *model = panel(0)->tableView()->model();
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral("Servus"), Qt::EditRole));
    const Row row = e->model().data.value(QStringLiteral("hello-Localizable.strings"));
    EXPECT_EQ(row.value(QStringLiteral("en")).value, QStringLiteral("Hi there"));
    EXPECT_EQ(row.value(QStringLiteral("de")).value, QStringLiteral("Servus"));
    EXPECT_EQ(row.value(QStringLiteral("fr")).value, QStringLiteral("Salut"));
    EXPECT_TRUE(readFile(path(QStringLiteral("App1/en.lproj/Localizable.strings"))).contains("Hi there"));
}

TEST_F(AppFixture, PanelEditOfADeletedRowDoesNotBringItBack)
{
    openBoth();
    activate(delegate->mainWindow());
    delegate->mainWindow()->setCurrentProject(delegate->projects().at(0).get());
    StringsViewController *e = editor(0);
    e->selectRows({0});
    trigger("deleteString:");
    EXPECT_EQ(e->model().keys.size(), 1);
    QAbstractItemModel *model = panel(0)->tableView()->model();
    model->setData(model->index(0, 1), QStringLiteral("Tschüss"), Qt::EditRole);
    EXPECT_FALSE(e->model().data.contains(QStringLiteral("bye-Localizable.strings")));
    EXPECT_FALSE(readFile(path(QStringLiteral("App1/en.lproj/Localizable.strings"))).contains("bye"));
}

// Typed values, blank texts and the highlight are checked through the real panel above.
TEST(TranslationsPanel, EditsNeedARowWithABaseEntry)
{
    TranslationsPanel panel;
    const QStringList candidates{QStringLiteral("Base"), QStringLiteral("en")};
    EXPECT_FALSE(panel.edit(0, QStringLiteral("x"), candidates));
    Row row;
    row.insert(QStringLiteral("fr"), Entry{QStringLiteral("k"), QStringLiteral("v"), std::nullopt});
    panel.show(QStringLiteral("k-L.strings"), row, {QStringLiteral("fr"), QStringLiteral("de")});
    EXPECT_EQ(*panel.languages, (QStringList{QStringLiteral("de"), QStringLiteral("fr")}));
    EXPECT_FALSE(panel.edit(0, QStringLiteral("x"), candidates)); // no base entry
    row.insert(QStringLiteral("en"), Entry{QStringLiteral("k"), QStringLiteral("v"), QStringLiteral("c")});
    panel.show(QStringLiteral("k-L.strings"), row, {QStringLiteral("fr"), QStringLiteral("de"), QStringLiteral("en")});
    EXPECT_FALSE(panel.edit(7, QStringLiteral("x"), candidates));
    ASSERT_TRUE(panel.edit(0, QStringLiteral("Wert"), candidates));
    EXPECT_EQ(panel.item->value(QStringLiteral("de")), (Entry{QStringLiteral("k"), QStringLiteral("Wert"), QStringLiteral("c")}));
}
