// The editor of one project window: owns the project model and shows its rows
// in a table under a search field. Commands reach it through the shell.
#pragma once

#include "model/problemcache.h"
#include "model/row.h"
#include "model/projectmodel.h"
#include "translate/translatejob.h"

#include <QList>
#include <QPointer>
#include <QThreadPool>
#include <QWidget>
#include <mutex>

class QLineEdit;
class QTableView;
class StringsTableModel;
struct CommandOutcome;
class UserPrompts;

class StringsViewController : public QWidget
{
    Q_OBJECT
public:
    explicit StringsViewController(QWidget *parent = nullptr);
    ~StringsViewController() override;

    ProjectModel &model() { return m_model; }
    // The check problems of the rows, as the table shows them.
    ProblemCache &problems() { return m_problems; }
    const ProjectModel &model() const { return m_model; }

    void setProjectURL(const QString &path) { m_model.projectURL = path; }
    QString projectURL() const { return m_model.projectURL; }

    // Loads the project, then the first sort ("Key String" ascending) and
    // refresh. A large project loads in the background: the table stays
    // empty and takes no commands until loaded() (the window stays live, and
    // notice() tells the progress).
    void loadProject();
    bool isLoading() const { return m_loading; }
    // Re-sorts and re-filters `keys` (hide-translated, only rows with
    // problems, then the search text),
    // reloads the table, runs the selection handler and retitles the window.
    void refresh();
    // The table asks for every row again; the selected indexes stay selected.
    void reloadTable();
    // Hands the single selected row to the panel, empties the panel for
    // several rows, and leaves it alone with none selected.
    void selectionHandler();

    // Selected table rows, ascending: the selection every command works on.
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    void clearSelection();

    // A language's text edited in the panel, for the row key the panel shows
    // (also when no row is selected any more): stored and saved; the panel
    // then shows the stored row.
    void translationsChanged(const QString &rowKey, const QString &language, const QString &value,
                             const std::optional<QString> &path = std::nullopt);

    // A cell edit from the table: the rules decide what is stored and saved.
    void commitEdit(const QVariant &value, Column column, int row);

    SortDescriptor sortDescriptor() const { return m_sort; }
    void setSortDescriptor(const SortDescriptor &sort);
    QString searchText() const;
    void setSearchText(const QString &text);

    // Editor commands, on the selected rows where they take rows. Each saves,
    // reloads and runs the selection handler as its rules say.
    void save();
    void capitalize();
    void upperCaase();
    void lowerCase();
    void copyBase();
    void copyMissingFromBase();
    void deleteTranslation();
    void deleteString();
    void exportTranslation(UserPrompts &prompts);
    void loadTranslations(UserPrompts &prompts);
    void autoTranslate();
    void autoTranslateSelected();
    // Runs in the background behind a progress dialog with Cancel; the model
    // is left alone until the job's final step.
    void translateGoogle(UserPrompts &prompts);
    void focusSearch();

    // "<rows shown> - <project root>".
    QString title() const { return m_model.title(); }
    // The files saves leave alone, and those the last save could not write,
    // one per line with the reason; empty when there are none.
    QString fileProblems() const;

    bool isTranslating() const { return m_job != nullptr; }
    // Loading or translating: the model belongs to background work.
    bool isBusy() const { return m_loading || m_job; }

    QTableView *tableView() const { return m_table; }
    QLineEdit *searchField() const { return m_search; }

signals:
    void titleChanged(const QString &title);
    void loaded();
    // For the translations panel: the one selected row, several rows
    // selected (nothing to show), and a change to a row it may show.
    void rowShown(const QString &rowKey, const Row &row, const QStringList &languages);
    void rowsCleared();
    void rowChanged(const QString &rowKey, const Row &row);
    // One line for the status bar: files that will not be, or could not be,
    // written.
    void notice(const QString &text);

private:
    void onHeaderClicked(int section);
    void updateSortIndicator();
    // Clears the selection, reloads and runs the selection handler as a
    // command's outcome asks.
    void applyOutcome(const CommandOutcome &outcome);
    // Tells the user, through notice(), when the last save left files unwritten.
    void reportSave();
    // Whether the shared memory is open; says why not through notice().
    bool memoryUsable();
    // After a load: the first sort (unless the rows came sorted) and
    // refresh, and what the load found.
    void finishLoading(bool sort);

    ProjectModel m_model;
    ProblemCache m_problems;
    SortDescriptor m_sort;
    QLineEdit *m_search;
    QTableView *m_table;
    StringsTableModel *m_tableModel;
    bool m_restoringSelection = false;
    QPointer<TranslateJob> m_job;
    bool m_loading = false;
    QThreadPool m_loader;
};
