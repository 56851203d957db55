// Translation-memory speed: an indexed lookup against the unindexed GLOB
// statement on 200,000 records, and scanning a corpus of language folders.
#include "memory/databasemanagerv2.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Records = 200000;

QString cacheFolder()
{
    const QString cache = QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                                              .absoluteFilePath(QStringLiteral("../bench-cache")));
    QDir().mkpath(cache);
    return cache;
}

QString englishText(int i) { return QStringLiteral("Sample text number %1 for the memory").arg(i); }

// Two copies of one 200,000-record database, generated once: the first gets
// the lookup indexes on first use, the second never does.
struct MemoryFiles
{
    QString indexed;
    QString unindexed;
};

MemoryFiles memoryFiles()
{
    static const MemoryFiles files = []() -> MemoryFiles {
        const QString folder = QDir(cacheFolder()).filePath(QStringLiteral("memory-200k"));
        const MemoryFiles paths{QDir(folder).filePath(QStringLiteral("indexed.sqlite")),
                                QDir(folder).filePath(QStringLiteral("unindexed.sqlite"))};
        const QString marker = QDir(folder).filePath(QStringLiteral("complete"));
        if (QFileInfo::exists(marker))
            return paths;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        {
            DatabaseManagerV2 manager(paths.unindexed);
            if (!manager.isOpen())
                return {};
            for (int start = 0; start < Records; start += 10000) {
                Harvest harvest;
                for (int i = start; i < start + 10000; ++i) {
                    const QString n = QString::number(i);
                    harvest.insert(QStringLiteral("key.") + n,
                                   {{QStringLiteral("en_US"), englishText(i)},
                                    {QStringLiteral("de"), QStringLiteral("Beispieltext Nummer ") + n},
                                    {QStringLiteral("fr"), QStringLiteral("Texte d'exemple n° ") + n},
                                    {QStringLiteral("ja"), QStringLiteral("サンプル ") + n},
                                    {QStringLiteral("es"), QStringLiteral("Texto de ejemplo ") + n}});
                }
                manager.storeTranslations(harvest);
            }
        }
        if (!QFile::copy(paths.unindexed, paths.indexed))
            return {};
        QFile done(marker);
        if (!done.open(QIODevice::WriteOnly))
            return {};
        return paths;
    }();
    return files;
}

void BM_MemoryLookupIndexed(benchmark::State &state)
{
    const MemoryFiles files = memoryFiles();
    if (files.indexed.isEmpty()) {
        state.SkipWithError("cannot build the benchmark database");
        return;
    }
    DatabaseManagerV2 manager(files.indexed);
    int i = 0;
    for (auto _ : state) {
        const auto found = manager.lookupText(QStringLiteral("en_US"), englishText(i * 7919 % Records));
        if (!found)
            state.SkipWithError("lookup found nothing");
        benchmark::DoNotOptimize(found);
        ++i;
    }
}
BENCHMARK(BM_MemoryLookupIndexed)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The statement as first designed: a GLOB over a column without an index,
// rows read the same way as the lookup reads them.
void BM_MemoryLookupUnindexedGlob(benchmark::State &state)
{
    const MemoryFiles files = memoryFiles();
    if (files.unindexed.isEmpty()) {
        state.SkipWithError("cannot build the benchmark database");
        return;
    }
    DatabaseManagerV2 manager(files.unindexed);
    int i = 0;
    for (auto _ : state) {
        int matches = 0;
        const QString text = DatabaseManagerV2::encodeQuery(englishText(i * 7919 % Records));
        manager.db()->inDatabase([&](Database &db) {
            auto rows = db.executeQuery(QStringLiteral("SELECT * FROM tbl_strings WHERE en_US GLOB ?"),
                                        {text});
            while (rows && rows->next()) {
                for (int c = 0; c < rows->columnCount(); ++c) {
                    if (const auto stored = rows->stringForColumnIndex(c))
                        benchmark::DoNotOptimize(DatabaseManagerV2::decode(*stored));
                }
                ++matches;
            }
        });
        if (matches != 1)
            state.SkipWithError("GLOB lookup did not find exactly one record");
        ++i;
    }
}
BENCHMARK(BM_MemoryLookupUnindexedGlob)->Unit(benchmark::kMicrosecond)->UseRealTime();

QString scanCorpus()
{
    static const QString corpus = []() -> QString {
        const QString out = QDir(cacheFolder()).filePath(QStringLiteral("corpus-scan-10x20x3x1000"));
        if (QFileInfo::exists(out + QStringLiteral("/complete")))
            return out;
        const QString script = QDir(QStringLiteral(VERBALO_SOURCE_DIR))
                                   .absoluteFilePath(QStringLiteral("../shared/bench/make_corpus.py"));
        const QString partial = out + QStringLiteral(".partial");
        QDir(partial).removeRecursively();
        QDir(out).removeRecursively();
        const int status = QProcess::execute(
            QStringLiteral("python3"),
            {script, partial, QStringLiteral("--apps"), QStringLiteral("10"), QStringLiteral("--languages"),
             QStringLiteral("20"), QStringLiteral("--files"), QStringLiteral("3"), QStringLiteral("--keys"),
             QStringLiteral("1000")});
        if (status != 0 || !QDir().rename(partial, out))
            return {};
        QFile marker(out + QStringLiteral("/complete"));
        if (!marker.open(QIODevice::WriteOnly))
            return {};
        return out;
    }();
    return corpus;
}

void BM_MemoryScanCorpus(benchmark::State &state)
{
    const QString corpus = scanCorpus();
    if (corpus.isEmpty()) {
        state.SkipWithError("cannot generate the scan corpus");
        return;
    }
    qint64 keys = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        auto manager = std::make_unique<DatabaseManagerV2>(dir.filePath(QStringLiteral("i18n-v2.sqlite")));
        state.ResumeTiming();
        const ScanResult result = manager->scan(corpus).result();
        keys += result.keysStored;
        state.counters[QStringLiteral("groups").toStdString()] = result.groups;
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
    state.counters["keys_stored"] = benchmark::Counter(double(keys) / double(state.iterations()));
    state.counters["keys_per_second"] = benchmark::Counter(double(keys), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MemoryScanCorpus)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

} // namespace
