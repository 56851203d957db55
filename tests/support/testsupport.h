// Helpers shared by the test binaries: an isolated per-user environment,
// small file utilities for building projects on disk, and verbalo-cli runs.
#pragma once

#include "model/projectmodel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

class QTemporaryDir;

// Points XDG_CONFIG_HOME and XDG_DATA_HOME at fresh temporary folders for the
// life of the process, so no test reads or writes the real user's settings.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString configHome() const;
    QString dataHome() const;

private:
    QTemporaryDir *m_config;
    QTemporaryDir *m_data;
};

// Writes bytes to dir/relativePath, creating folders; returns the full path.
QString writeFile(const QString &dir, const QString &relativePath, const QByteArray &bytes);
// The same for a path given as bytes, which may name what no QString can
// (bytes that are not UTF-8).
void writeFileAtBytes(const QString &dir, const QByteArray &relativePath, const QByteArray &bytes);
// Removes a folder whatever bytes its names hold (QDir cannot remove those).
void removeTree(const QString &dir);
// Whole file content, or an empty array when the file cannot be read.
QByteArray readFile(const QString &path);
// A project root loaded (and, unless asked not to, refreshed) as the editor does.
ProjectModel loadProject(const QString &root, bool refresh = true);
// A fresh copy of examples/Demo below dir; returns the copy's root.
QString copyDemo(const QString &dir);

// One run of the built verbalo-cli program.
struct CliRun
{
    int status = -1; // -1: crashed or timed out
    QByteArray out;
    QByteArray err;
};
// Runs build/bin/verbalo-cli; asNobody drops root to user nobody through
// setpriv, since permissions do not bind the super-user.
CliRun runCliProgram(const QStringList &arguments, bool asNobody = false);
// Whether runCliProgram(..., true) can run here: root with setpriv available.
bool canRunAsNobody();

// Readable failure output for Qt texts.
void PrintTo(const QString &text, std::ostream *os);
void PrintTo(const QStringList &texts, std::ostream *os);
void PrintTo(const SaveFailure &failure, std::ostream *os);
