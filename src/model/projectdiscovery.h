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
    // Whether a found file path lies in a language folder. Paths with "Pods"
    // anywhere never do, nor paths that pass through a folder that holds what
    // tools or builds put there rather than the user's own sources: Carthage,
    // .build, DerivedData, node_modules, .git, .svn, .hg, and bundles ending
    // in .app, .appex, .framework or .xcarchive. Only folders from `from`
    // (an index into path) on are tested for these, so that a folder the user
    // chose inside one of them is still searched.
    static bool isLanguagePath(const QString &path, qsizetype from = 0);
    // Whether a folder name is one of those that isLanguagePath() passes over.
    static bool isSkippedFolder(QStringView name);
    // Whether a found file is a String Catalog outside Pods and the folders
    // isLanguagePath() passes over (tested from `from` on); its folder is a root.
    static bool isCatalogPath(const QString &path, qsizetype from = 0);
};
