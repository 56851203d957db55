// Finding the user help page at run time.
#include "helppage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QUrl HelpPage::location() { return location(QCoreApplication::applicationDirPath()); }

QUrl HelpPage::location(const QString &applicationDirPath)
{
    QStringList candidates;
    if (!applicationDirPath.isEmpty())
        candidates << QDir(applicationDirPath).filePath(QStringLiteral("../share/verbalo/help.html"));
    candidates << QStringLiteral(VERBALO_SOURCE_DIR "/docs/help.html");
    candidates << QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                         QStringLiteral("verbalo/help.html"));
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (!candidate.isEmpty() && info.isFile())
            return QUrl::fromLocalFile(info.canonicalFilePath());
    }
    return {};
}
