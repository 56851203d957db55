// Project discovery: runs find for the project file kinds below a folder and
// keeps those inside language folders, whose grandparents are the roots, and
// String Catalogs, whose folders are.
#include "projectdiscovery.h"

#include "common/log.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <unicode/uloc.h>

namespace {

// Every locale identifier the platform knows, in both the "_" and the "-"
// form. A path qualifies when one of them is a whole component between two
// slashes, which is what containing "/<identifier>/" amounts to.
const QSet<QString> &localeIdentifiers()
{
    static const QSet<QString> ids = [] {
        QStringList raw;
        const int32_t count = uloc_countAvailable();
        for (int32_t i = 0; i < count; ++i)
            raw << QString::fromLatin1(uloc_getAvailable(i));
        const QList<QLocale> locales =
            QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        for (const QLocale &locale : locales)
            if (locale.language() != QLocale::C)
                raw << locale.name();
        QSet<QString> set;
        for (const QString &id : std::as_const(raw)) {
            if (id.isEmpty())
                continue;
            set.insert(id);
            set.insert(QString(id).replace(QLatin1Char('_'), QLatin1Char('-')));
        }
        return set;
    }();
    return ids;
}

QString rootOf(const QString &path)
{
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut > 0)
        cut = path.lastIndexOf(QLatin1Char('/'), cut - 1);
    if (cut < 0)
        return QStringLiteral(".");
    return cut == 0 ? QStringLiteral("/") : path.left(cut);
}

// Whether a folder between `from` and the file name is one to pass over.
bool passesSkippedFolder(const QString &path, qsizetype from)
{
    const qsizetype fileStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    qsizetype start = std::max<qsizetype>(from, 0);
    while (start < fileStart) {
        qsizetype end = path.indexOf(QLatin1Char('/'), start);
        if (end < 0 || end >= fileStart)
            end = fileStart - 1;
        if (ProjectDiscovery::isSkippedFolder(QStringView(path).mid(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

bool ProjectDiscovery::isSkippedFolder(QStringView name)
{
    static const char *const names[] = {"Carthage", ".build", "DerivedData", "node_modules", ".git", ".svn", ".hg"};
    static const char *const bundles[] = {".app", ".appex", ".framework", ".xcarchive"};
    for (const char *skipped : names)
        if (name == QLatin1String(skipped))
            return true;
    for (const char *suffix : bundles)
        if (name.endsWith(QLatin1String(suffix)) && name.size() > qsizetype(std::strlen(suffix)))
            return true;
    return false;
}

bool ProjectDiscovery::isLanguagePath(const QString &path, qsizetype from)
{
    if (path.contains(QLatin1String("Pods")))
        return false;
    if (passesSkippedFolder(path, from))
        return false;
    if (path.contains(QLatin1String("lproj")))
        return true;
    const QSet<QString> &ids = localeIdentifiers();
    qsizetype start = path.indexOf(QLatin1Char('/'));
    while (start >= 0) {
        const qsizetype next = path.indexOf(QLatin1Char('/'), start + 1);
        if (next < 0)
            break;
        if (next > start + 1 && ids.contains(path.mid(start + 1, next - start - 1)))
            return true;
        start = next;
    }
    return false;
}

QStringList ProjectDiscovery::discover(const QString &folder, QList<SkippedPath> *skipped)
{
    // One walk for both suffixes, so a folder find cannot enter is reported once.
    const FindResult found = FileFinder::run(
        {folder, QStringLiteral("-type"), QStringLiteral("f"), QStringLiteral("("),
         QStringLiteral("-name"), QStringLiteral("*.strings"), QStringLiteral("-o"),
         QStringLiteral("-name"), QStringLiteral("*.txt"), QStringLiteral("-o"),
         QStringLiteral("-name"), QStringLiteral("*.stringsdict"), QStringLiteral("-o"),
         QStringLiteral("-name"), QStringLiteral("*.xcstrings"), QStringLiteral(")"),
         QStringLiteral("-print0")});
    if (skipped)
        *skipped = found.skipped;
    QSet<QString> roots;
    // The chosen folder's own path is not tested for skipped folders.
    const qsizetype below = folder.size();
    for (const QString &path : found.paths)
        if (isLanguagePath(path, below))
            roots.insert(rootOf(path));
        else if (isCatalogPath(path, below))
            roots.insert(QFileInfo(path).path());
    QStringList sorted(roots.begin(), roots.end());
    std::sort(sorted.begin(), sorted.end());
    for (const QString &root : std::as_const(sorted))
        Log::debug(QStringLiteral("Project root: "), root);
    return sorted;
}

bool ProjectDiscovery::isCatalogPath(const QString &path, qsizetype from)
{
    // A String Catalog belongs to the project of the folder it stands in.
    return path.endsWith(QLatin1String(".xcstrings")) && !path.contains(QLatin1String("Pods"))
           && !passesSkippedFolder(path, from);
}

bool ProjectDiscovery::isSameFolder(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() ? first == QFileInfo(b).canonicalFilePath() : QDir::cleanPath(a) == QDir::cleanPath(b);
}
