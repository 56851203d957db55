// Listing paths with /usr/bin/find: names taken byte for byte (NUL-separated),
// and every folder find could not enter kept with its reason.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A path left out of a listing, and why ("Permission denied", or a name that
// is not valid UTF-8, which no file operation could open again).
struct SkippedPath
{
    QString path; // for messages only: as find quoted it, or decoded; always one line
    QString reason;
};

struct FindResult
{
    QStringList paths; // in find's order
    QList<SkippedPath> skipped;
};

class FileFinder
{
public:
    // Runs /usr/bin/find with the arguments, whose printing action must be
    // -print0, and logs one line per skipped path. A find that cannot be run
    // gives no paths and one skipped entry.
    static FindResult run(const QStringList &arguments);
    // find's NUL-terminated names and its error lines ("find: 'PATH': REASON").
    static FindResult parse(const QByteArray &output, const QByteArray &errors);
};
