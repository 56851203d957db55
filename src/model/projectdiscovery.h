// Finds the project roots below a chosen folder: the grandparents of the
// .strings and .txt files that lie inside language folders.
#pragma once

#include <QString>
#include <QStringList>

class ProjectDiscovery
{
public:
    // Distinct roots, sorted. Runs /usr/bin/find through Shell; logs each root.
    static QStringList discover(const QString &folder);
    // Whether a found file path lies in a language folder (paths with "Pods" never do).
    static bool isLanguagePath(const QString &path);
};
