// Locating or generating the benchmark corpus, and peak-memory probes.
#include "benchcorpus.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <malloc.h>

namespace {

QString rootIn(const QString &folder)
{
    const QString app0 = QDir(folder).filePath(QStringLiteral("App0"));
    return QFileInfo(app0).isDir() ? app0 : folder;
}

QString generate()
{
    const QString cache = QDir(QCoreApplication::applicationDirPath())
                              .absoluteFilePath(QStringLiteral("../bench-cache"));
    const QString out = QDir(cache).filePath(QStringLiteral("corpus-40x5x2000"));
    if (QFileInfo::exists(out + QStringLiteral("/complete")))
        return rootIn(out);
    const QString script = QDir(QStringLiteral(VERBALO_SOURCE_DIR))
                               .absoluteFilePath(QStringLiteral("../shared/bench/make_corpus.py"));
    if (!QFileInfo::exists(script))
        return {};
    const QString partial = out + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    QDir(out).removeRecursively();
    QDir().mkpath(cache);
    const int status = QProcess::execute(
        QStringLiteral("python3"),
        {script, partial, QStringLiteral("--languages"), QStringLiteral("40"), QStringLiteral("--files"),
         QStringLiteral("5"), QStringLiteral("--keys"), QStringLiteral("2000")});
    if (status != 0 || !QDir().rename(partial, out))
        return {};
    QFile marker(out + QStringLiteral("/complete"));
    if (!marker.open(QIODevice::WriteOnly))
        return {};
    return rootIn(out);
}

} // namespace

QString benchCorpusRoot()
{
    static const QString root = [] {
        const QString given = qEnvironmentVariable("VERBALO_BENCH_CORPUS");
        if (!given.isEmpty())
            return QFileInfo(given).isDir() ? rootIn(given) : QString();
        return generate();
    }();
    return root;
}

QStringList benchCorpusStringsFiles()
{
    const QString root = benchCorpusRoot();
    if (root.isEmpty())
        return {};
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.strings")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            const QByteArray kb = line.mid(6).trimmed().split(' ').value(0);
            return kb.toLongLong() * 1024;
        }
    }
    return 0;
}

void resetPeakResident()
{
    // Give freed heap back first, so the peak starts from what is really held.
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
