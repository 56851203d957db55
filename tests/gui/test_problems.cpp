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
    writeFile(root, "App1/de.lproj/Localizable.strings", "/* Greeting */\n\"hello\" = \"Hallo %@\";\n");
    openBoth(0);
    StringsViewController *e = editor(0);
    ASSERT_EQ(e->model().keys, (QStringList{"bye-Localizable.strings", "hello-Localizable.strings"}));

    // The cell keeps its designed text; icon and tooltip tell the rest.
    EXPECT_EQ(statusCell(e, 1, Qt::DisplayRole).toString(), "OK (1)");
    EXPECT_FALSE(statusCell(e, 1, Qt::DecorationRole).value<QIcon>().isNull());
    const QString tip = statusCell(e, 1, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("de: Format specifiers")) << tip.toStdString();
    EXPECT_FALSE(statusCell(e, 0, Qt::DecorationRole).isValid());

    e->selectRows({1});
    QAbstractItemModel *p = panel(0)->tableView()->model();
    EXPECT_FALSE(p->data(p->index(0, 0), Qt::DecorationRole).value<QIcon>().isNull()); // de
    EXPECT_TRUE(p->data(p->index(0, 1), Qt::ToolTipRole).toString().contains("Format specifiers"));
    EXPECT_FALSE(p->data(p->index(1, 0), Qt::DecorationRole).isValid()); // en, the base

    trigger("toggleProblems:");
    EXPECT_TRUE(delegate->onlyProblems()->isChecked());
    EXPECT_EQ(e->model().keys, QStringList{"hello-Localizable.strings"});
    EXPECT_EQ(editor(1)->model().keys, QStringList());

    // A fixed translation loses its mark at once, and the row the filter.
    e->translationsChanged("hello-Localizable.strings", "de", "Hallo");
    EXPECT_FALSE(statusCell(e, 0, Qt::DecorationRole).isValid());
    e->refresh();
    EXPECT_EQ(e->model().keys, QStringList());
    trigger("toggleProblems:");
    EXPECT_FALSE(delegate->onlyProblems()->isChecked());
    EXPECT_EQ(e->model().keys.size(), 2);
}

TEST_F(AppFixture, IgnoredLanguagesDialogChangesStatusesAndChecks)
{
    writeFile(root, "App1/de.lproj/Localizable.strings", "/* Greeting */\n\"hello\" = \"Hallo %@\";\n");
    openBoth(0);
    StringsViewController *e = editor(0);
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "Missing: de");

    prompts.fieldAnswers << QStringLiteral(" de, ");
    trigger("setIgnoredLanguages:");
    ASSERT_EQ(prompts.fieldRequests.size(), 1);
    EXPECT_EQ(Settings::ignoredLanguages(), QStringList{"de"});
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "OK (1)");
    EXPECT_FALSE(statusCell(e, 1, Qt::DecorationRole).isValid());

    // The dialog starts from the stored list; an empty answer removes it.
    prompts.fieldAnswers << QString();
    trigger("setIgnoredLanguages:");
    EXPECT_EQ(prompts.fieldRequests.last().initialText, "de");
    EXPECT_FALSE(Settings().contains(Settings::IgnoredLanguages));
    EXPECT_EQ(statusCell(e, 0, Qt::DisplayRole).toString(), "Missing: de");
}
