// The editor's search field on the corpus project: narrowing every row by a
// typed text, alone and together with the refresh that precedes it.
#include "benchcorpus.h"

#include "editor/rowsearch.h"
#include "model/projectmodel.h"

#include <benchmark/benchmark.h>

namespace {

ProjectModel &corpusModel()
{
    static ProjectModel model = [] {
        ProjectModel m;
        m.projectURL = benchCorpusRoot();
        if (!m.projectURL.isEmpty())
            m.load();
        return m;
    }();
    return model;
}

// A text found in few rows (a rare key) and one found in most rows.
const char *const kTexts[] = {"KEY.1999", "value"};

void BM_SearchFilterKeys(benchmark::State &state)
{
    ProjectModel &model = corpusModel();
    if (model.data.isEmpty()) {
        state.SkipWithError("no corpus");
        return;
    }
    model.rebuildKeys(SortDescriptor{}, false);
    const QStringList all = model.keys;
    const QString text = QString::fromLatin1(kTexts[state.range(0)]);
    for (auto _ : state) {
        model.keys = all;
        RowSearch::filterKeys(model, text);
        benchmark::DoNotOptimize(model.keys.size());
    }
    state.counters["rows"] = double(all.size());
    state.counters["shown"] = double(model.keys.size());
}
BENCHMARK(BM_SearchFilterKeys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// What one keystroke in the search field costs: refresh (sort, hide filter)
// and the search filter.
void BM_SearchRefreshAndFilter(benchmark::State &state)
{
    ProjectModel &model = corpusModel();
    if (model.data.isEmpty()) {
        state.SkipWithError("no corpus");
        return;
    }
    const QString text = QString::fromLatin1(kTexts[state.range(0)]);
    for (auto _ : state) {
        model.rebuildKeys(SortDescriptor{}, false);
        RowSearch::filterKeys(model, text);
        benchmark::DoNotOptimize(model.keys.size());
    }
}
BENCHMARK(BM_SearchRefreshAndFilter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
