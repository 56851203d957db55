// The folder scan that fills the translation memory: finds every language
// folder below a folder, groups siblings, and stores one harvest per group.
#pragma once

#include "memory/databasemanagerv2.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

class Scanner
{
public:
    // Parent folder path to its language folder paths, in the order find gave them.
    using Groups = QMap<QString, QStringList>;

    // Runs /usr/bin/find below the folder, not entering hidden folders; what
    // find could not read goes to *skipped.
    static Groups findGroups(const QString &folder, QList<SkippedPath> *skipped = nullptr);
    // What /usr/bin/find lists of the type ("d" or "f") named like the pattern
    // below the folder, never entering (nor listing) hidden folders, with the
    // paths it could not read.
    static FindResult findOutsideHidden(const QString &folder, const QString &type,
                                        const QString &namePattern);
    // Groups found paths by parent folder; an empty path is its own group.
    static Groups groupLines(const QStringList &lines);
    // Adds the .strings files directly inside one language folder to the
    // harvest under the folder's column; invalid languages and unreadable
    // folders or files add nothing.
    static void extractFolder(const QString &path, Harvest &harvest);

    // The whole scan, on the calling thread (the manager runs it on its work
    // queue). progress gets (groups done, groups found) after each group. A
    // closed memory, or a group whose texts cannot be committed, ends the scan
    // with the reason in ScanResult::failure; groups stored before stay.
    static ScanResult run(DatabaseManagerV2 &manager, const QString &folder,
                          const std::function<void(int done, int found)> &progress = {});
};
