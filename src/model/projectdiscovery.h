// Finds the project roots below a chosen folder: the grandparents of the
// .strings and .txt files that lie inside language folders.
#pragma once

#include "model/filefinder.h"

#include <QString>
#include <QStringList>

class ProjectDiscovery
{
public:
    // Distinct roots, sorted. Runs /usr/bin/find; logs each root. Folders find
    // cannot enter and names that are not UTF-8 are left out, logged, and
    // listed in *skipped; the rest is found all the same.
    static QStringList discover(const QString &folder, QList<SkippedPath> *skipped = nullptr);
    // Whether two paths name the same folder, links and ".." resolved.
    static bool isSameFolder(const QString &a, const QString &b);
    // Whether a found file path lies in a language folder (paths with "Pods" never do).
    static bool isLanguagePath(const QString &path);
    // Whether a found file is a String Catalog outside Pods; its folder is a root.
    static bool isCatalogPath(const QString &path);
};
