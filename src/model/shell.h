// Runs an external program with separate arguments (no command interpreter)
// and collects its output and error lines, or its raw output and error bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ShellResult
{
    // Each stream decoded as UTF-8, line ends trimmed at both ends, split at
    // line feeds: an empty stream gives one empty line; an undecodable one, none.
    QStringList output;
    QStringList error;
    int status = -1; // -1 when the program could not be started or did not exit normally
};

// Both streams exactly as the program wrote them, for output that is not
// lines of text (names separated by NUL bytes, names in no encoding).
struct ShellBytes
{
    QByteArray output;
    QByteArray error;
    int status = -1; // as in ShellResult
};

class Shell
{
public:
    static Shell &shared();
    // Blocks until the program has exited. Both pipes are drained together, so
    // a program that writes much to either cannot stall.
    ShellResult run(const QString &launchPath, const QStringList &arguments = {}) const;
    // As run(), without decoding or splitting.
    ShellBytes runBytes(const QString &launchPath, const QStringList &arguments = {}) const;
};
