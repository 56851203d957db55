// Loading and saving the 38 MB corpus project, and the peak memory of a load.
#include "benchcorpus.h"

#include "model/projectmodel.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

qsizetype entryCount(const ProjectModel &model)
{
    qsizetype n = 0;
    for (const Row &row : model.data)
        n += row.size();
    return n;
}

void BM_LoadProject(benchmark::State &state)
{
    const QString root = benchCorpusRoot();
    if (root.isEmpty()) {
        state.SkipWithError("no corpus (set VERBALO_BENCH_CORPUS or provide ../shared/bench/make_corpus.py)");
        return;
    }
    qsizetype entries = 0;
    for (auto _ : state) {
        auto model = std::make_unique<ProjectModel>();
        model->projectURL = root;
        model->load();
        state.PauseTiming();
        entries = entryCount(*model);
        model.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = double(entries);
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Peak resident memory during one load, and the part of it the load added.
void BM_LoadProjectPeakMemory(benchmark::State &state)
{
    const QString root = benchCorpusRoot();
    if (root.isEmpty()) {
        state.SkipWithError("no corpus");
        return;
    }
    for (auto _ : state) {
        resetPeakResident();
        const qint64 before = peakResidentBytes();
        {
            ProjectModel model;
            model.projectURL = root;
            model.load();
            state.counters["held_MB"] = double(peakResidentBytes() - before) / 1e6;
        }
        state.counters["peak_MB"] = double(peakResidentBytes()) / 1e6;
        state.counters["load_peak_growth_MB"] = double(peakResidentBytes() - before) / 1e6;
    }
}
BENCHMARK(BM_LoadProjectPeakMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Save after one value edit, on a copy of the corpus that one untimed save
// has already put into the written layout.
void BM_SaveProjectAfterEdit(benchmark::State &state)
{
    const QString corpus = benchCorpusRoot();
    QTemporaryDir copy;
    if (corpus.isEmpty() || !copy.isValid()
        || QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), corpus, copy.path()}) != 0) {
        state.SkipWithError("no corpus copy");
        return;
    }
    ProjectModel model;
    model.projectURL = QDir(copy.path()).filePath(QDir(corpus).dirName());
    model.load();
    model.save();
    const QString rowKey = QStringLiteral("localizable.key.7-Localizable.strings");
    if (!model.data.contains(rowKey) || !model.data[rowKey].contains(QStringLiteral("de"))) {
        state.SkipWithError("corpus lacks the edited row");
        return;
    }
    int edit = 0;
    for (auto _ : state) {
        model.data[rowKey][QStringLiteral("de")].value = QStringLiteral("Bearbeitet %1").arg(++edit);
        model.save();
    }
}
BENCHMARK(BM_SaveProjectAfterEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
