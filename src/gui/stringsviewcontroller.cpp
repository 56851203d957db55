// The editor widget: search field and rows table over the project model.
#include "gui/stringsviewcontroller.h"

#include "gui/stringstablemodel.h"

#include "gui/userprompts.h"

#include "common/hugepages.h"
#include "common/settings.h"
#include "editor/bulkcommands.h"
#include "editor/cellediting.h"
#include "editor/commandoutcome.h"
#include "editor/exporttranslation.h"
#include "editor/rowsearch.h"
#include "memory/databasemanagerv2.h"
#include "memory/translationimport.h"
#include "memory/translationspanel.h"
#include "shell/savesettings.h"
#include "translate/memoryfill.h"
#include "translate/translatejob.h"

#include <QAction>
#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

StringsViewController::StringsViewController(QWidget *parent)
    : QWidget(parent), m_search(new QLineEdit), m_table(new QTableView)
{
    m_tableModel = new StringsTableModel(m_model, m_problems, this);
    connect(m_tableModel, &StringsTableModel::edited, this, &StringsViewController::commitEdit);

    m_search->setPlaceholderText(tr("Search keys, texts and comments"));
    m_search->setClearButtonEnabled(true);
    if (QIcon::hasThemeIcon(QStringLiteral("edit-find")))
        m_search->addAction(QIcon::fromTheme(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    // Typing narrows the rows once the user pauses, so large projects stay fluid.
    auto *searchTimer = new QTimer(this);
    searchTimer->setSingleShot(true);
    searchTimer->setInterval(150);
    connect(m_search, &QLineEdit::textChanged, searchTimer, qOverload<>(&QTimer::start));
    connect(searchTimer, &QTimer::timeout, this, &StringsViewController::refresh);

    m_table->setModel(m_tableModel);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setShowGrid(false);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionClicked, this, &StringsViewController::onHeaderClicked);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_restoringSelection)
            selectionHandler();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    updateSortIndicator();
}

StringsViewController::~StringsViewController() = default;

namespace {

// The bytes of the files below a folder, two levels deep: whether a project
// is large enough to load in the background.
qint64 projectBytes(const QString &root)
{
    qint64 bytes = 0;
    for (const QFileInfo &folder : QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QFileInfo &file : QDir(folder.filePath()).entryInfoList(QDir::Files))
            bytes += file.size();
    return bytes;
}

} // namespace

void StringsViewController::loadProject()
{
    const auto candidates = [] { return Settings::baseLanguageCandidates(); };
    const auto ignored = [] { return Settings::ignoredLanguages(); };
    m_model.baseLanguages = candidates;
    m_model.ignoredLanguages = ignored;
    m_model.saveOptions = [] { return SaveSettings::read(); };
    // Small projects load at once; a large one would freeze the window.
    if (projectBytes(m_model.projectURL) < 4 * 1024 * 1024) {
        m_model.load();
        finishLoading(true);
        return;
    }
    m_loading = true;
    emit notice(tr("Loading %1…").arg(QDir::toNativeSeparators(m_model.projectURL)));
    const QString root = m_model.projectURL;
    const bool hideTranslated = Settings().boolValue(Settings::HideTranslated);
    const QPointer<StringsViewController> self(this);
    auto *watcher = new QFutureWatcher<ProjectModel>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        m_model = watcher->result();
        m_problems.clear();
        watcher->deleteLater();
        m_loading = false;
        finishLoading(false);
    });
    // The first sort happens in the background too; the window only shows
    // the rows.
    // On a thread of its own: the global pool paints the window.
    watcher->setFuture(QtConcurrent::run(&m_loader, [root, candidates, ignored, self, hideTranslated] {
        ProjectModel model;
        model.projectURL = root;
        model.baseLanguages = candidates;
        model.ignoredLanguages = ignored;
        model.saveOptions = [] { return SaveSettings::read(); };
        model.load([self, root](int read, int total) {
            QMetaObject::invokeMethod(self, [self, root, read, total] {
                if (self)
                    emit self->notice(tr("Loading %1… %2 of %3 files read")
                                          .arg(QDir::toNativeSeparators(root))
                                          .arg(read)
                                          .arg(total));
            }, Qt::QueuedConnection);
        });
        model.rebuildKeys(SortDescriptor{}, hideTranslated);
        HugePages::releaseFreeMemory();
        return model;
    }));
}

void StringsViewController::finishLoading(bool sort)
{
    m_sort = SortDescriptor{};
    updateSortIndicator();
    // The background load sorted and hid translated rows, but knows nothing of problems.
    if (sort || Settings().boolValue(Settings::OnlyProblems)) {
        refresh();
    } else {
        RowSearch::filterKeys(m_model, m_search->text());
        reloadTable();
        selectionHandler();
        emit titleChanged(title());
    }
    emit loaded();
    if (m_model.keptFiles.isEmpty() && m_model.keptFolders.isEmpty())
        emit notice(QString());
    const int kept = int(m_model.keptFiles.size() + m_model.keptFolders.size());
    if (kept > 0)
        emit notice(tr("%n file(s) or folder(s) of this project will not be rewritten, since Verbalo "
                       "cannot read all of their text. File > Files Not Written… lists them.",
                       "", kept));
}

QString StringsViewController::fileProblems() const
{
    QStringList lines;
    for (auto it = m_model.keptFolders.cbegin(); it != m_model.keptFolders.cend(); ++it)
        lines << tr("%1 — nothing is written into it: %2").arg(it.key(), it.value());
    for (auto it = m_model.keptFiles.cbegin(); it != m_model.keptFiles.cend(); ++it)
        lines << tr("%1 — never rewritten: %2").arg(it.key(), it->reason);
    for (const SaveFailure &failure : m_model.lastSave.notWritten)
        lines << tr("%1 — not written by the last save: %2").arg(failure.path, failure.reason);
    return lines.join(QLatin1Char('\n'));
}

void StringsViewController::reportSave()
{
    const QList<SaveFailure> &failures = m_model.lastSave.notWritten;
    if (failures.isEmpty())
        return;
    emit notice(tr("%n file(s) could not be written and keep their old content: %1. "
                   "File > Files Not Written… lists them.",
                   "", int(failures.size()))
                    .arg(failures.first().path));
}

void StringsViewController::refresh()
{
    // The translation job owns the model until its final step, which reloads.
    if (isBusy())
        return;
    const Settings settings;
    ProjectModel::RowFilter keep = RowSearch::filter(m_search->text());
    if (settings.boolValue(Settings::OnlyProblems))
        keep = m_problems.onlyProblems(m_model, std::move(keep));
    m_model.rebuildKeys(m_sort, settings.boolValue(Settings::HideTranslated), m_model.candidates(), keep);
    reloadTable();
    selectionHandler();
    emit titleChanged(title());
}

void StringsViewController::reloadTable()
{
    const QList<int> selected = selectedRows();
    m_restoringSelection = true;
    m_tableModel->reload();
    QList<int> kept;
    for (int row : selected) {
        if (row < m_model.keys.size())
            kept << row;
    }
    selectRows(kept);
    m_restoringSelection = false;
    emit titleChanged(title());
}

void StringsViewController::selectionHandler()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || isBusy())
        return;
    if (rows.size() > 1) {
        emit rowsCleared();
        return;
    }
    const QString rowKey = m_model.keys.value(rows.first());
    const auto it = m_model.data.constFind(rowKey);
    if (it == m_model.data.constEnd())
        return;
    emit rowShown(rowKey, *it, m_model.languages);
}

QList<int> StringsViewController::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void StringsViewController::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    const int last = m_tableModel->columnCount() - 1;
    for (int row : rows)
        selection.select(m_tableModel->index(row, 0), m_tableModel->index(row, last));
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void StringsViewController::clearSelection() { m_table->selectionModel()->clearSelection(); }

void StringsViewController::translationsChanged(const QString &rowKey, const QString &language,
                                                const QString &value, const std::optional<QString> &path)
{
    if (isBusy())
        return;
    if (!TranslationsPanel::storeTranslation(m_model, rowKey, language, value, path))
        return;
    const qsizetype index = m_model.keys.indexOf(rowKey);
    if (index >= 0)
        m_tableModel->rowChanged(int(index));
    emit rowChanged(rowKey, m_model.data.value(rowKey));
    reportSave();
}

void StringsViewController::setSortDescriptor(const SortDescriptor &sort)
{
    m_sort = sort;
    updateSortIndicator();
    refresh();
}

QString StringsViewController::searchText() const { return m_search->text(); }

void StringsViewController::setSearchText(const QString &text)
{
    const QSignalBlocker blocker(m_search);
    m_search->setText(text);
    refresh();
}

void StringsViewController::onHeaderClicked(int section)
{
    const std::optional<Column> column = Columns::at(section);
    if (!column || !Columns::isSortable(*column)) {
        updateSortIndicator();
        return;
    }
    SortDescriptor sort;
    sort.column = *column;
    sort.ascending = *column == m_sort.column ? !m_sort.ascending : true;
    setSortDescriptor(sort);
}

void StringsViewController::updateSortIndicator()
{
    m_table->horizontalHeader()->setSortIndicator(Columns::section(m_sort.column),
                                                  m_sort.ascending ? Qt::AscendingOrder
                                                                   : Qt::DescendingOrder);
}

void StringsViewController::commitEdit(const QVariant &value, Column column, int row)
{
    if (isBusy())
        return;
    const CommandOutcome outcome = CellEditing::setObjectValue(m_model, value, column, row);
    if (!outcome.message.isEmpty())
        emit notice(outcome.message);
    const QString rowKey = m_model.keys.value(row);
    if (m_model.data.contains(rowKey))
        emit rowChanged(rowKey, m_model.data.value(rowKey));
    if (outcome.saves > 0)
        reportSave();
    if (!outcome.message.isEmpty())
        emit notice(outcome.message);
}


void StringsViewController::applyOutcome(const CommandOutcome &outcome)
{
    if (outcome.clearSelection)
        clearSelection();
    if (outcome.reloads > 0) {
        reloadTable();
        selectionHandler();
    }
    if (outcome.saves > 0)
        reportSave();
    if (!outcome.message.isEmpty())
        emit notice(outcome.message);
}

void StringsViewController::save()
{
    m_model.save();
    reportSave();
}

void StringsViewController::capitalize()
{
    applyOutcome(BulkCommands::capitalize(m_model, selectedRows()));
}

void StringsViewController::upperCaase()
{
    applyOutcome(BulkCommands::upperCaase(m_model, selectedRows()));
}

void StringsViewController::lowerCase()
{
    applyOutcome(BulkCommands::lowerCase(m_model, selectedRows()));
}

void StringsViewController::copyBase()
{
    applyOutcome(BulkCommands::copyBase(m_model, selectedRows()));
}

void StringsViewController::copyMissingFromBase()
{
    applyOutcome(BulkCommands::copyMissingFromBase(m_model, selectedRows()));
}

void StringsViewController::deleteTranslation()
{
    applyOutcome(BulkCommands::deleteTranslation(m_model, selectedRows()));
}

void StringsViewController::deleteString()
{
    applyOutcome(BulkCommands::deleteString(m_model, selectedRows()));
}

void StringsViewController::exportTranslation(UserPrompts &prompts)
{
    const std::optional<QString> path =
        prompts.chooseSaveFile(tr("Choose Folder"), QStringLiteral("strings"));
    if (!path || path->isEmpty())
        return;
    QString error;
    if (!ExportTranslation::exportTranslation(m_model, *path, &error))
        emit notice(tr("Not exported: %1").arg(error));
}

void StringsViewController::loadTranslations(UserPrompts &prompts)
{
    const std::optional<QString> folder = prompts.chooseFolder(tr("Choose Project Folder"));
    if (!folder || folder->isEmpty())
        return;
    const ImportResult result = TranslationImport::importTranslations(m_model, *folder);
    refresh();
    if (!m_model.lastSave.ok())
        reportSave();
    else if (!result.unmatched.isEmpty())
        emit notice(tr("%n file(s) not imported: the project has no language %1.", "",
                       int(result.unmatched.size()))
                        .arg(result.unmatched.first().second));
    else if (!result.skipped.isEmpty())
        emit notice(tr("%n path(s) below %1 could not be read and were left out.", "",
                       int(result.skipped.size()))
                        .arg(*folder));
    else
        emit notice(tr("%n text(s) imported.", "", result.stored));
}

bool StringsViewController::memoryUsable()
{
    const DatabaseManagerV2 &memory = DatabaseManagerV2::shared();
    if (memory.isOpen())
        return true;
    emit notice(tr("The translation memory %1 cannot be used: %2")
                    .arg(QDir::toNativeSeparators(memory.databasePath()), memory.closedReason()));
    return false;
}

void StringsViewController::autoTranslate()
{
    if (memoryUsable())
        applyOutcome(MemoryFill::autoTranslate(m_model, MemoryFill::sharedMemory()));
}

void StringsViewController::autoTranslateSelected()
{
    if (memoryUsable())
        applyOutcome(MemoryFill::autoTranslateSelected(m_model, selectedRows(), MemoryFill::sharedMemory()));
}

void StringsViewController::translateGoogle(UserPrompts &prompts)
{
    if (isBusy())
        return;
    auto *job = new TranslateJob(m_model, this);
    m_job = job;
    m_tableModel->setBusyLock(&job->lock());
    QProgressDialog *progress = prompts.createProgress(tr("Translating with Google…"), 0);
    connect(job, &TranslateJob::progress, progress,
            [progress](int finished, int started, int total) {
                progress->setMaximum(qMax(total, 1));
                progress->setValue(finished);
                progress->setLabelText(tr("Translating with Google… %1 of %2 keys done (%3 started)")
                                           .arg(finished)
                                           .arg(total)
                                           .arg(started));
            });
    connect(progress, &QProgressDialog::canceled, job, &TranslateJob::cancel);
    connect(job, &TranslateJob::finished, this, [this, job, progress](const CommandOutcome &outcome) {
        progress->hide();
        progress->deleteLater();
        job->deleteLater();
        m_job = nullptr;
        m_tableModel->setBusyLock(nullptr);
        applyOutcome(outcome);
    });
    job->start(selectedRows(), Settings().text(Settings::GoogleApiKey));
}

void StringsViewController::focusSearch()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}
