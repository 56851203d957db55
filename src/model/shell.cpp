// Runs external programs (find) with separate arguments and collects both
// output streams as lines or as bytes.
#include "shell.h"

#include <QProcess>
#include <QStringDecoder>
#include <optional>

namespace {

bool isLineEnd(QChar c)
{
    switch (c.unicode()) {
    case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

// An empty stream gives one empty line; bytes that are not UTF-8 give none.
QStringList toLines(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {};
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isLineEnd(text.at(begin)))
        ++begin;
    while (end > begin && isLineEnd(text.at(end - 1)))
        --end;
    return QStringView(text).mid(begin, end - begin).toString().split(QLatin1Char('\n'));
}

// Nothing when the program could not be started.
std::optional<ShellBytes> execute(const QString &launchPath, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(launchPath, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return std::nullopt;
    // waitForFinished() services both pipes together, so neither can fill up
    // and stall the program while the other is being waited on.
    process.waitForFinished(-1);
    ShellBytes result;
    result.output = process.readAllStandardOutput();
    result.error = process.readAllStandardError();
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

} // namespace

Shell &Shell::shared()
{
    static Shell shell;
    return shell;
}

ShellResult Shell::run(const QString &launchPath, const QStringList &arguments) const
{
    ShellResult result;
    const std::optional<ShellBytes> bytes = execute(launchPath, arguments);
    if (!bytes)
        return result;
    result.output = toLines(bytes->output);
    result.error = toLines(bytes->error);
    result.status = bytes->status;
    return result;
}

ShellBytes Shell::runBytes(const QString &launchPath, const QStringList &arguments) const
{
    return execute(launchPath, arguments).value_or(ShellBytes{});
}
