// Finding language folders, extracting their texts, storing group by group.
#include "scanner.h"

#include "memory/awakeassertion.h"
#include "common/languages.h"
#include "model/heldtext.h"
#include "model/plistreader.h"
#include "model/variantfiles.h"
#include "common/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {

QString seconds(const QElapsedTimer &timer)
{
    return QString::number(double(timer.nsecsElapsed()) / 1e9, 'f', 6);
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

FindResult Scanner::findOutsideHidden(const QString &folder, const QString &type,
                                      const QString &namePattern)
{
    // "/.." or "/." inside the path would match the hidden-folder pattern at the
    // top and stop find before it starts. The explicit -print0 belongs to the
    // second branch only, so pruned hidden folders are not printed.
    const QStringList arguments{QDir::cleanPath(folder),
                                QStringLiteral("-type"), QStringLiteral("d"),
                                QStringLiteral("-path"), QStringLiteral("*/\\.*"),
                                QStringLiteral("-prune"), QStringLiteral("-o"),
                                QStringLiteral("-not"), QStringLiteral("-name"), QStringLiteral(".*"),
                                QStringLiteral("-type"), type,
                                QStringLiteral("-name"), namePattern, QStringLiteral("-print0")};
    return FileFinder::run(arguments);
}

Scanner::Groups Scanner::findGroups(const QString &folder, QList<SkippedPath> *skipped)
{
    const FindResult found =
        findOutsideHidden(folder, QStringLiteral("d"), QStringLiteral("*.lproj"));
    if (skipped)
        *skipped = found.skipped;
    return groupLines(found.paths);
}

Scanner::Groups Scanner::groupLines(const QStringList &lines)
{
    Groups groups;
    for (const QString &line : lines)
        groups[parentOf(line)].append(line);
    return groups;
}

void Scanner::extractFolder(const QString &path, Harvest &harvest)
{
    const auto code = Languages::languageForFolder(path);
    if (!code) {
        Log::debug(QStringLiteral("Invalid language: "), path);
        return;
    }
    Log::debug(QStringLiteral("Extracting: "), *code);
    // A folder that cannot be listed (or has vanished meanwhile) lists nothing.
    const QStringList names =
        QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name);
    for (const QString &name : names) {
        if (VariantFiles::isStringsDict(name)) {
            // A plural key is remembered by its base form, the "other" text.
            QList<Entry> entries;
            QString error;
            VariantFiles files;
            if (files.loadStringsDict(QDir(path).filePath(name), *code, name, &entries, &error))
                for (const Entry &entry : std::as_const(entries))
                    harvest[HeldText::toPlain(entry.key)].insert(*code, HeldText::toPlain(entry.value));
            continue;
        }
        if (QFileInfo(name).suffix().toLower() != QLatin1String("strings"))
            continue;
        const auto strings = PlistReader::readFile(QDir(path).filePath(name));
        if (!strings)
            continue;
        for (const auto &[key, text] : *strings)
            harvest[key].insert(*code, text);
    }
}

ScanResult Scanner::run(DatabaseManagerV2 &manager, const QString &folder,
                        const std::function<void(int, int)> &progress)
{
    ScanResult result;
    if (!manager.isOpen()) {
        result.failure = QCoreApplication::translate("Scanner", "the translation memory is unusable: %1")
                             .arg(manager.closedReason());
        Log::line(QStringLiteral("Scan failed: ") + result.failure);
        return result;
    }
    const AwakeAssertion awake(QStringLiteral("i18n"));

    QElapsedTimer timer;
    timer.start();
    const Groups groups = findGroups(folder, &result.skipped);
    Log::line(QStringLiteral("Scan took: ") + seconds(timer));
    timer.restart();

    result.groups = int(groups.size());
    int done = 0;
    if (progress)
        progress(done, result.groups);
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        Log::debug(QStringLiteral("Start extracting from: "), it.key());
        {
            Harvest harvest;
            for (const QString &languageFolder : it.value())
                extractFolder(languageFolder, harvest);
            QString error;
            result.keysStored += manager.storeTranslations(harvest, &error);
            // The next group would wait for the same lock or disk and fail alike.
            if (!error.isEmpty()) {
                result.failure =
                    QCoreApplication::translate("Scanner", "the texts below %1 could not be stored: %2")
                        .arg(it.key(), error);
                Log::line(QStringLiteral("Scan stopped: ") + result.failure);
                break;
            }
        }
        Log::debug(QStringLiteral("Done extracting from: "), it.key());
        if (progress)
            progress(++done, result.groups);
    }
    Log::line(QStringLiteral("Done..."));
    Log::line(QStringLiteral("Processing took: ") + seconds(timer));
    return result;
}
