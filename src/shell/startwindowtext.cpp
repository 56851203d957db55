// The start window's row texts: folder name and home-shortened path.
#include "startwindowtext.h"

#include <QDir>

namespace {

QString withoutTrailingSlashes(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

QString StartWindowText::nameText(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == QLatin1String("/"))
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString StartWindowText::pathText(const QString &path)
{
    return pathText(path, QDir::homePath());
}

QString StartWindowText::pathText(const QString &path, const QString &homePath)
{
    const QString home = withoutTrailingSlashes(homePath);
    if (home.isEmpty() || home == QLatin1String("/"))
        return path;
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}
