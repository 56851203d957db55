// Running the shipped support script with /bin/sh.
#include "supportscript.h"

#include "common/log.h"

#include <QFile>
#include <QProcess>

SupportScript::Outcome SupportScript::contactSupport() { return run(ResourcePath); }

SupportScript::Outcome SupportScript::run(const QString &path, int timeoutMs)
{
    QFile file(path);
    if (!file.exists())
        return Outcome::NoScript;
    if (!file.open(QIODevice::ReadOnly)) {
        Log::line(QStringLiteral("Couldn't read the support script: ") + file.errorString());
        return Outcome::ReadFailed;
    }
    const QString script = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        Log::line(QStringLiteral("Couldn't read the support script: ") + file.errorString());
        return Outcome::ReadFailed;
    }
    if (script.trimmed().isEmpty())
        return Outcome::NoScript;

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), script, QStringLiteral("support_email")});
    if (!process.waitForStarted()) {
        Log::line(QStringLiteral("Support script failed: ") + process.errorString());
        return Outcome::Failed;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        Log::line(QStringLiteral("Support script failed: still running after %1 ms").arg(timeoutMs));
        return Outcome::Failed;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString detail = QString::fromUtf8(process.readAllStandardError())
                                   .simplified();
        Log::line(QStringLiteral("Support script failed: exit status %1%2")
                      .arg(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1)
                      .arg(detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
        return Outcome::Failed;
    }
    return Outcome::Ran;
}
