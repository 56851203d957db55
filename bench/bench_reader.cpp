// StringsReader against the ICU entry pattern on the shared corpus, and the
// reader alone on adversarial 1 MB texts that make the pattern backtrack
// without bound (each should stay well under 100 ms).
#include "../tests/support/icuoracle.h"
#include "benchcorpus.h"
#include "model/stringscontent.h"
#include "model/stringsreader.h"
#include "model/textfile.h"

#include <benchmark/benchmark.h>

namespace {

struct Corpus
{
    QList<QString> texts;
    qint64 bytes = 0; // UTF-8 size of the texts
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

qsizetype count(const QList<Entry> &entries) { return entries.size(); }
qsizetype count(qsizetype matches) { return matches; }

// Reads every corpus text with 'parse', dropping each file's entries once
// they are counted.
template<typename Parse>
void readCorpus(benchmark::State &state, Parse parse)
{
    const Corpus &c = corpus();
    if (c.texts.isEmpty()) {
        state.SkipWithError("no corpus (set VERBALO_BENCH_CORPUS or install python3)");
        return;
    }
    qint64 entries = 0;
    for (auto _ : state) {
        entries = 0;
        for (const QString &text : c.texts)
            entries += count(parse(text));
        benchmark::DoNotOptimize(entries);
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

// What a project load runs per file: the line rules, and the check that
// nothing outside their entries could be a pair.
void BM_CorpusContent(benchmark::State &state)
{
    readCorpus(state, [](const QString &text) { return StringsContent::read(text).entries; });
}
BENCHMARK(BM_CorpusContent)->Unit(benchmark::kMillisecond);

void BM_CorpusIcuPattern(benchmark::State &state)
{
    readCorpus(state, [](const QString &text) { return icuOracleParse(text).value_or(QList<Entry>()); });
}
BENCHMARK(BM_CorpusIcuPattern)->Unit(benchmark::kMillisecond);

// The pattern's search alone, no texts copied out: what the ICU side costs
// before entries are built (building and freeing them costs both sides alike).
void BM_CorpusIcuPatternSearchOnly(benchmark::State &state)
{
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    std::unique_ptr<URegularExpression, icuoracle::RegexCloser> re(uregex_open(
        reinterpret_cast<const UChar *>(kIcuEntryPattern), -1, UREGEX_MULTILINE | UREGEX_DOTALL, &parseError, &status));
    if (U_FAILURE(status)) {
        state.SkipWithError("pattern does not compile");
        return;
    }
    readCorpus(state, [&re](const QString &text) {
        UErrorCode s = U_ZERO_ERROR;
        uregex_setText(re.get(), reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &s);
        qsizetype matches = 0;
        while (U_SUCCESS(s) && uregex_findNext(re.get(), &s))
            ++matches;
        return matches;
    });
}
BENCHMARK(BM_CorpusIcuPatternSearchOnly)->Unit(benchmark::kMillisecond);

QString repeatedTo(const QString &piece, qsizetype size)
{
    QString text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

// The adversarial shapes, about 'size' UTF-16 units long:
// 0 white-space-only lines; 1 one line of x" = " (opened by a quote, so it is
// tried as a key line); 2 comment openers without a close; 3 comment openers
// on their own lines sharing one close, then an entry without ";"; 4 entry
// lines that never get their ";".
QString adversarial(int shape, qsizetype size)
{
    switch (shape) {
    case 0: return repeatedTo(QStringLiteral("    \t \n"), size);
    case 1: return u'"' + repeatedTo(QStringLiteral("x\" = \""), size);
    case 2: return repeatedTo(QStringLiteral("/*"), size);
    case 3: return repeatedTo(QStringLiteral("/*\n"), size) + QStringLiteral("*/\n\"k\" = \"v\"");
    default: return repeatedTo(QStringLiteral("\"k\" = \"v\"\n"), size);
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
