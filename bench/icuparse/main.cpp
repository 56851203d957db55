// The reference point of the whole-process benchmarks: reads .strings files
// with the ICU entry pattern alone, and with --json prints what
// `verbalo-cli entries --json` prints, built the obvious way.
#include "../../tests/support/icuoracle.h"
#include "common/hugepages.h"
#include "model/textfile.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

int main(int argc, char **argv)
{
    // Run as verbalo-cli runs, so the two compare alike.
    HugePages::restartWithHugePages(argv);
    HugePages::tuneAllocator();
    QCoreApplication app(argc, argv);
    QStringList files = app.arguments().mid(1);
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    qsizetype total = 0;
    for (const QString &path : std::as_const(files)) {
        const std::optional<QString> text = TextFile::read(path);
        if (!text)
            return 2;
        const std::optional<QList<Entry>> entries = icuOracleParse(*text);
        if (!entries)
            return 2;
        total += entries->size();
        if (!json)
            continue;
        QJsonArray list;
        for (const Entry &e : *entries)
            list.append(QJsonObject{{QStringLiteral("key"), e.key},
                                    {QStringLiteral("value"), e.value},
                                    {QStringLiteral("comment"), e.comment ? QJsonValue(*e.comment) : QJsonValue()}});
        const QByteArray line =
            QJsonDocument(QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("entries"), list}})
                .toJson(QJsonDocument::Compact);
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fputc('\n', stdout);
    }
    if (!json)
        std::printf("%lld entries\n", static_cast<long long>(total));
    return 0;
}
