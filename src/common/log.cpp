// Diagnostic log lines, one per call, serialised so threads never interleave.
#include "common/log.h"

#include <QMutex>
#include <QMutexLocker>
#include <atomic>
#include <cstdio>

namespace {
std::atomic<Log::Sink> s_sink{Log::Sink::StandardOutput};
QMutex s_mutex;
} // namespace

void Log::line(const QString &text)
{
    const Sink sink = s_sink.load();
    if (sink == Sink::Discard)
        return;
    const QByteArray bytes = text.toUtf8();
    QMutexLocker lock(&s_mutex);
    FILE *out = sink == Sink::StandardError ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fputc('\n', out);
    std::fflush(out);
}

void Log::debug(const QString &label, const QString &value)
{
    line(label + QLatin1Char('"') + value + QLatin1Char('"'));
}

void Log::setSink(Sink sink) { s_sink.store(sink); }
