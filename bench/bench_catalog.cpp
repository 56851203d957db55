// Loading a project of one large String Catalog (10,000 keys in 20 languages,
// made by bench/make_catalog.py), and saving it after one edit.
#include "model/projectmodel.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A fresh catalog project in `dir`, or false when python3 could not make it.
bool makeCatalog(const QTemporaryDir &dir)
{
    return dir.isValid()
           && QProcess::execute(QStringLiteral("python3"),
                                {QStringLiteral(VERBALO_SOURCE_DIR "/bench/make_catalog.py"), dir.path()})
                  == 0;
}

void BM_CatalogLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!makeCatalog(dir)) {
        state.SkipWithError("bench/make_catalog.py failed");
        return;
    }
    qsizetype rows = 0;
    for (auto _ : state) {
        ProjectModel model;
        model.projectURL = dir.path();
        model.load();
        rows = model.data.size();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_CatalogLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_CatalogSaveAfterEdit(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!makeCatalog(dir)) {
        state.SkipWithError("bench/make_catalog.py failed");
        return;
    }
    ProjectModel model;
    model.projectURL = dir.path();
    model.load();
    const QString rowKey = QStringLiteral("catalog.key.1-Localizable.xcstrings");
    if (!model.data.value(rowKey).contains(QStringLiteral("de"))) {
        state.SkipWithError("catalog lacks the edited row");
        return;
    }
    int edit = 0;
    for (auto _ : state) {
        model.data[rowKey][QStringLiteral("de")].value = QStringLiteral("Bearbeitet %1").arg(++edit);
        if (!model.save().ok())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_CatalogSaveAfterEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
