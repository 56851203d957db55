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

} // namespace

bool ProjectDiscovery::isLanguagePath(const QString &path)
{
    if (path.contains(QLatin1String("Pods")))
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
    for (const QString &path : found.paths)
        if (isLanguagePath(path))
            roots.insert(rootOf(path));
        else if (isCatalogPath(path))
            roots.insert(QFileInfo(path).path());
    QStringList sorted(roots.begin(), roots.end());
    std::sort(sorted.begin(), sorted.end());
    for (const QString &root : std::as_const(sorted))
        Log::debug(QStringLiteral("Project root: "), root);
    return sorted;
}

bool ProjectDiscovery::isCatalogPath(const QString &path)
{
    // A String Catalog belongs to the project of the folder it stands in.
    return path.endsWith(QLatin1String(".xcstrings")) && !path.contains(QLatin1String("Pods"));
}

bool ProjectDiscovery::isSameFolder(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() ? first == QFileInfo(b).canonicalFilePath() : QDir::cleanPath(a) == QDir::cleanPath(b);
}
