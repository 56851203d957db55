// How the desktop app answers on a large project: opens PROJECT offscreen and
// measures the longest time the event loop went without turning (a frozen
// window) until the rows show, then a sort by each sortable column and a
// search typed into the field. Run by bench/whole.py.
#include "common/hugepages.h"
#include "common/log.h"
#include "gui/appdelegate.h"
#include "gui/mainwindow.h"
#include "gui/projectwindowcontroller.h"
#include "gui/stringsviewcontroller.h"
#include "gui/userprompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// No one answers: the benchmark opens its folder directly.
class SilentPrompts : public UserPrompts
{
public:
    std::optional<QString> chooseFolder(const QString &) override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const QString &, const QString &) override { return std::nullopt; }
    void showWarning(const QString &, const QString &, const QString &) override {}
    bool askToProceed(const QString &, const QString &, const QString &, const QString &) override { return false; }
    std::optional<QString> askSingleField(const SingleFieldRequest &) override { return std::nullopt; }
    QProgressDialog *createProgress(const QString &label, int maximum) override
    {
        return new QProgressDialog(label, QString(), 0, maximum);
    }
};

// The longest gap between two turns of the event loop while `work` runs and
// until `done` holds.
template<typename Work, typename Done>
qint64 longestFrozenFrame(Work work, Done done, qint64 &elapsed)
{
    QElapsedTimer clock;
    QElapsedTimer since;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, since.restart());
    });
    clock.start();
    since.start();
    ticker.start();
    work();
    longest = std::max(longest, since.restart());
    while (!done()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        longest = std::max(longest, since.restart());
    }
    elapsed = clock.elapsed();
    return longest;
}

} // namespace

int main(int argc, char **argv)
{
    HugePages::restartWithHugePages(argv);
    HugePages::tuneAllocator();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    QTemporaryDir data;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    Log::setSink(Log::Sink::Discard);
    if (argc < 2) {
        std::fprintf(stderr, "usage: verbalo-bench-gui PROJECT\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    SilentPrompts prompts;
    AppDelegate delegate(prompts);
    delegate.applicationDidFinishLaunching();

    StringsViewController *editor = nullptr;
    qint64 elapsed = 0;
    const qint64 openFrozen = longestFrozenFrame(
        [&] { delegate.openFolderAt(folder); },
        [&] {
            if (!editor && !delegate.projects().empty())
                editor = delegate.projects().front()->editor();
            return editor && !editor->isLoading();
        },
        elapsed);
    std::printf("open: %lld ms until %lld rows show, longest frozen frame %lld ms\n",
                static_cast<long long>(elapsed), static_cast<long long>(editor->model().keys.size()),
                static_cast<long long>(openFrozen));

    for (const Column column : {Column::Value, Column::Status, Column::Key}) {
        QElapsedTimer clock;
        clock.start();
        editor->tableView()->horizontalHeader()->sectionClicked(Columns::section(column));
        QApplication::processEvents();
        std::printf("sort by %s: %lld ms\n", qPrintable(Columns::identifier(column)),
                    static_cast<long long>(clock.elapsed()));
    }
    // A search as typed: the field waits for a pause, then narrows the rows.
    QElapsedTimer clock;
    clock.start();
    editor->setSearchText(QStringLiteral("key.1234"));
    QApplication::processEvents();
    std::printf("search: %lld ms, %lld rows shown\n", static_cast<long long>(clock.elapsed()),
                static_cast<long long>(editor->model().keys.size()));
    return 0;
}
