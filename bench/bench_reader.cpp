// StringsReader against the ICU entry pattern on the shared corpus, and the
// reader alone on adversarial 1 MB texts that make the pattern backtrack
// without bound (each should stay well under 100 ms).
#include "../tests/model/icuoracle.h"
#include "benchcorpus.h"
#include "model/stringsreader.h"
#include "model/textfile.h"

#include <benchmark/benchmark.h>

namespace {

struct Corpus
{
    QList<QString> texts;
    qint64 bytes = 0; // UTF-8 bytes on disk
    qint64 entries = 0;
};

const Corpus &corpus()
{
    static const Corpus loaded = [] {
        Corpus c;
        for (const QString &path : benchCorpusStringsFiles()) {
            if (std::optional<QString> text = TextFile::read(path)) {
                c.bytes += text->toUtf8().size();
                c.texts.append(*text);
            }
        }
        return c;
    }();
    return loaded;
}

// Reads every corpus text with 'parse'. The entries are kept until the pass
// ends, as a loader keeps them, and freed outside the timing.
template<typename Parse>
void readCorpus(benchmark::State &state, Parse parse)
{
    const Corpus &c = corpus();
    if (c.texts.isEmpty()) {
        state.SkipWithError("no corpus (set VERBALO_BENCH_CORPUS or install python3)");
        return;
    }
    qint64 entries = 0;
    QList<QList<Entry>> kept;
    kept.reserve(c.texts.size());
    for (auto _ : state) {
        entries = 0;
        for (const QString &text : c.texts) {
            kept.append(parse(text));
            entries += kept.last().size();
        }
        state.PauseTiming();
        kept.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * c.bytes);
    state.counters["entries"] = double(entries);
    state.counters["files"] = double(c.texts.size());
}

void BM_CorpusReader(benchmark::State &state)
{
    readCorpus(state, [](const QString &text) { return StringsReader::parse(text); });
}
BENCHMARK(BM_CorpusReader)->Unit(benchmark::kMillisecond);

void BM_CorpusIcuPattern(benchmark::State &state)
{
    readCorpus(state, [](const QString &text) { return icuOracleParse(text).value_or(QList<Entry>()); });
}
BENCHMARK(BM_CorpusIcuPattern)->Unit(benchmark::kMillisecond);

QString repeatedTo(const QString &piece, qsizetype size)
{
    QString text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

// The adversarial shapes; state.range(0) is the text size in UTF-16 units.
QString adversarial(int shape, qsizetype size)
{
    switch (shape) {
    case 0: return repeatedTo(QStringLiteral("    \t \n"), size);      // white-space-only lines
    case 1: return u'"' + repeatedTo(QStringLiteral("x\" = \""), size); // one line of x" = "
    case 2: return repeatedTo(QStringLiteral("/*"), size);              // comment openers, no close
    case 3: return repeatedTo(QStringLiteral("/*\n"), size) + QStringLiteral("*/\n\"k\" = \"v\"");
    default: return repeatedTo(QStringLiteral("\"k\" = \"v\"\n"), size); // entries never closed by ;
    }
}

void BM_AdversarialReader(benchmark::State &state)
{
    const QString text = adversarial(int(state.range(0)), state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(StringsReader::parse(text));
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}
BENCHMARK(BM_AdversarialReader)
    ->ArgNames({"shape", "units"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1 << 20, 4 << 20}})
    ->Unit(benchmark::kMillisecond);

} // namespace
