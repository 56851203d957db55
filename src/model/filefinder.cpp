// Running find for NUL-separated names and reading its complaints.
#include "filefinder.h"

#include "common/log.h"
#include "model/shell.h"

#include <QFile>

namespace {

const QString kFind = QStringLiteral("/usr/bin/find");

// Line breaks inside a name would split a message line.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

// "PROGRAM: QUOTED-PATH: REASON" (the quotes follow the locale: 'x' or ‘x’);
// a line of another shape is kept whole as the reason.
SkippedPath parseErrorLine(const QString &line)
{
    const qsizetype afterProgram = line.indexOf(QLatin1String(": "));
    const QString rest = afterProgram < 0 ? line : line.mid(afterProgram + 2);
    const qsizetype beforeReason = rest.lastIndexOf(QLatin1String(": "));
    if (beforeReason < 0)
        return {QString(), oneLine(rest)};
    QString path = rest.left(beforeReason);
    static const QString openers = QStringLiteral("'\"`\u2018");
    static const QString closers = QStringLiteral("'\"\u2019");
    if (path.size() >= 2 && openers.contains(path.front()) && closers.contains(path.back()))
        path = path.mid(1, path.size() - 2);
    return {oneLine(path), oneLine(rest.mid(beforeReason + 2))};
}

} // namespace

FindResult FileFinder::parse(const QByteArray &output, const QByteArray &errors)
{
    FindResult result;
    qsizetype start = 0;
    while (start < output.size()) {
        qsizetype end = output.indexOf('\0', start);
        if (end < 0)
            end = output.size();
        const QByteArray name = output.mid(start, end - start);
        start = end + 1;
        if (name.isEmpty())
            continue;
        const QString path = QFile::decodeName(name);
        // Qt replaces bytes that are not UTF-8, so such a name would open
        // another file, or none.
        if (QFile::encodeName(path) != name)
            result.skipped.append({oneLine(path), QStringLiteral("the name is not valid UTF-8")});
        else
            result.paths.append(path);
    }
    for (const QByteArray &line : errors.split('\n')) {
        if (!line.trimmed().isEmpty())
            result.skipped.append(parseErrorLine(QString::fromUtf8(line)));
    }
    return result;
}

FindResult FileFinder::run(const QStringList &arguments)
{
    const ShellBytes found = Shell::shared().runBytes(kFind, arguments);
    FindResult result;
    if (found.status == -1 && found.output.isEmpty() && found.error.isEmpty())
        result.skipped.append({arguments.value(0), kFind + QStringLiteral(" could not be run")});
    else
        result = parse(found.output, found.error);
    for (const SkippedPath &skipped : std::as_const(result.skipped))
        Log::line(QStringLiteral("Skipped ") + skipped.path + QStringLiteral(": ") +
                  skipped.reason);
    return result;
}
