// Machine translation and memory fill at scale: translateGoogle on 1,000 rows
// with 10 missing languages each against a local service answering after
// 20 ms, and autoTranslate on 10,000 rows against a 200,000-record memory.
#include "../tests/support/fakehttpserver.h"
#include "benchcorpus.h"
#include "memory/databasemanagerv2.h"
#include "model/projectmodel.h"
#include "translate/memoryfill.h"
#include "translate/translatejob.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QStringList kTargets{"de", "fr", "es", "it", "ja", "ko", "nl", "pl", "pt", "ru"};

void writeText(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// A project whose en.lproj/L.strings holds `rows` keys with the given texts and
// whose other languages hold none of them.
void writeProject(const QString &root, int rows, const QStringList &others,
                  const std::function<QString(int)> &text)
{
    QByteArray strings;
    for (int i = 0; i < rows; ++i)
        strings += "\"key." + QByteArray::number(i) + "\" = \"" + text(i).toUtf8() + "\";\n";
    writeText(QDir(root).filePath("en.lproj/L.strings"), strings);
    for (const QString &language : others)
        writeText(QDir(root).filePath(language + ".lproj/L.strings"), "\n");
}

int threadCount()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    }
    return 0;
}

void BM_TranslateGoogle1000RowsTimes10Languages(benchmark::State &state)
{
    FakeHttpServer server;
    server.setHandler([](const FakeRequest &) {
        return FakeResponse{200, FakeHttpServer::translation(QStringLiteral("translated")), 20};
    });
    QTemporaryDir dir;
    writeProject(dir.path(), 1000, kTargets, [](int i) { return QStringLiteral("Text %1").arg(i); });
    int requests = 0;
    int maxThreads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString &language : kTargets)
            writeText(QDir(dir.path()).filePath(language + ".lproj/L.strings"), "\n");
        ProjectModel model;
        model.projectURL = dir.path();
        model.load();
        model.rebuildKeys(SortDescriptor{}, false);
        QList<int> all;
        for (int i = 0; i < model.keys.size(); ++i)
            all << i;
        const int before = int(server.requests().size());
        resetPeakResident();
        state.ResumeTiming();

        TranslateJob job(model);
        job.setEndpoint(server.url());
        QEventLoop loop;
        QObject::connect(&job, &TranslateJob::progress, &job,
                         [&] { maxThreads = std::max(maxThreads, threadCount()); });
        QObject::connect(&job, &TranslateJob::finished, &loop, &QEventLoop::quit);
        job.start(all, QStringLiteral("bench"));
        loop.exec();

        state.PauseTiming();
        state.counters["peak_MB"] = double(peakResidentBytes()) / 1e6;
        requests = int(server.requests().size()) - before;
        int translated = 0;
        for (const Row &row : std::as_const(model.data))
            translated += int(row.size());
        if (translated != 1000 * 12)
            state.SkipWithError("not every language was translated");
        state.ResumeTiming();
    }
    state.counters["requests"] = requests;
    state.counters["max_threads"] = maxThreads;
    state.counters["connections"] = server.connections();
}
BENCHMARK(BM_TranslateGoogle1000RowsTimes10Languages)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

QString memoryText(int i) { return QStringLiteral("Remembered sentence %1 of the memory").arg(i); }

// 200,000 records in en, de and fr, generated once into the build tree.
QString memoryPath()
{
    static const QString path = []() -> QString {
        const QString folder = QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                                                   .absoluteFilePath("../bench-cache/fill-200k"));
        const QString file = QDir(folder).filePath("memory.sqlite");
        const QString marker = QDir(folder).filePath("complete");
        if (QFileInfo::exists(marker))
            return file;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        {
            DatabaseManagerV2 memory(file);
            if (!memory.isOpen())
                return QString();
            for (int start = 0; start < 200000; start += 10000) {
                Harvest harvest;
                for (int i = start; i < start + 10000; ++i) {
                    const QString n = QString::number(i);
                    harvest.insert("key." + n, {{"en", memoryText(i)},
                                                {"de", "Gemerkter Satz " + n},
                                                {"fr", "Phrase retenue " + n}});
                }
                memory.storeTranslations(harvest);
            }
        }
        writeText(marker, "");
        return file;
    }();
    return path;
}

void BM_AutoTranslate10000RowsFrom200000Records(benchmark::State &state)
{
    const QString path = memoryPath();
    if (path.isEmpty()) {
        state.SkipWithError("cannot build the benchmark memory");
        return;
    }
    DatabaseManagerV2 memory(path);
    const MemoryLookup lookup = [&memory](const QString &column, const QString &text) {
        return memory.lookupText(column, text);
    };
    // Every other row is in the memory; the rest is looked up in vain.
    auto text = [](int i) {
        return i % 2 == 0 ? memoryText(i * 17) : QStringLiteral("Unknown text %1").arg(i);
    };
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        writeProject(dir.path(), 10000, {"de", "fr"}, text);
        ProjectModel model;
        model.projectURL = dir.path();
        model.load();
        model.rebuildKeys(SortDescriptor{}, false);
        state.ResumeTiming();

        MemoryFill::autoTranslate(model, lookup);

        state.PauseTiming();
        int filled = 0;
        for (const Row &row : std::as_const(model.data))
            filled += row.contains("de") ? 1 : 0;
        state.counters["filled_rows"] = filled;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutoTranslate10000RowsFrom200000Records)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
