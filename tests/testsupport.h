// Helpers shared by the test binaries: an isolated per-user environment and
// small file utilities for building projects on disk.
#pragma once

#include <QByteArray>
#include <QString>

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
// Whole file content, or an empty array when the file cannot be read.
QByteArray readFile(const QString &path);
