// The shared benchmark corpus: the project that
// `make_corpus.py OUT --languages 40 --files 5 --keys 2000` writes (about 38 MB).
#pragma once

#include <QString>
#include <QStringList>

// The corpus project root (OUT/App0). Taken from $VERBALO_BENCH_CORPUS (the OUT
// folder, or a project root) when set; otherwise generated once into
// build/bench-cache/ with ../shared/bench/make_corpus.py. Empty when neither
// works; benchmarks then skip with an error.
QString benchCorpusRoot();

// Every .strings file of the corpus, full paths, in a fixed order.
QStringList benchCorpusStringsFiles();

// Peak resident memory of this process in bytes (VmHWM), and a reset of that
// peak to the current size (Linux 4.0 and later), for measuring one operation.
qint64 peakResidentBytes();
void resetPeakResident();
