// Entry point of verbalo-bench: Google Benchmark inside a QCoreApplication, with
// per-user folders pointed at a temporary place so no benchmark touches the
// real settings or translation memory, and diagnostics discarded.
#include "common/hugepages.h"
#include "common/log.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    // Measured as the programs run: with the heap on huge pages.
    HugePages::restartWithHugePages(argv);
    HugePages::tuneAllocator();
    QTemporaryDir config;
    QTemporaryDir data;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QCoreApplication app(argc, argv);
    Log::setSink(Log::Sink::Discard);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
