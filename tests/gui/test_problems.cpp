// Rows whose translations break their base text, as the app shows them: the
// Status cell's icon and tooltip, the panel's mark, the View filter, and the
// ignored-languages dialog.
#include "appfixture.h"

#include "model/column.h"

#include <QAbstractItemModel>
#include <QIcon>

namespace {
QVariant statusCell(StringsViewController *e, int row, int role)
{
    QAbstractItemModel *model = e->tableView()->model();
    return model->data(model->index(row, Columns::section(Column::Status)), role);
}
} // namespace

TEST_F(AppFixture, RowsWithProblemsAreMarkedFilteredAndFollowEdits)
{
    writeFile(root, "App1/de.lproj/Localizable.strings",
              "/* Greeting */\n\"hello\" = \"Hallo %@\";\n");
    openBoth(0);
    StringsViewController *e = editor(0); // rows: bye, hello

    // The cell keeps its designed text; icon and tooltip tell the rest.
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "Missing: de");
    EXPECT_EQ(statusCell(e, 1, Qt::DisplayRole).toString(), "OK (1)");
    EXPECT_FALSE(statusCell(e, 1, Qt::DecorationRole).value<QIcon>().isNull());
    const QString tip = statusCell(e, 1, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("de: Format specifiers")) << tip.toStdString();

    e->selectRows({1});
    QAbstractItemModel *p = panel(0)->tableView()->model();
    EXPECT_FALSE(p->data(p->index(0, 0), Qt::DecorationRole).value<QIcon>().isNull()); // de
    EXPECT_FALSE(p->data(p->index(1, 0), Qt::DecorationRole).isValid()); // en, the base

    // An ignored language is neither missing nor checked; the dialog starts
    // from the stored list and an empty answer removes it.
    prompts.fieldAnswers << QStringLiteral(" de, ") << QString();
    trigger("setIgnoredLanguages:");
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "OK (1)");
    EXPECT_FALSE(statusCell(e, 1, Qt::DecorationRole).isValid());
    trigger("setIgnoredLanguages:");
    EXPECT_EQ(prompts.fieldRequests.last().initialText, "de");
    EXPECT_FALSE(Settings().contains(Settings::IgnoredLanguages));
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "Missing: de");

    trigger("toggleProblems:");
    EXPECT_EQ(e->model().keys, QStringList{"hello-Localizable.strings"});
    // A fixed translation loses its mark at once, and the row the filter.
    e->translationsChanged("hello-Localizable.strings", "de", "Hallo");
    EXPECT_FALSE(statusCell(e, 0, Qt::DecorationRole).isValid());
    e->refresh();
    EXPECT_EQ(e->model().keys, QStringList());
}
