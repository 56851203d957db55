// Helpers shared by the test binaries.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

TestEnvironment::TestEnvironment()
    : m_config(new QTemporaryDir), m_data(new QTemporaryDir)
{
    qputenv("XDG_CONFIG_HOME", m_config->path().toUtf8());
    qputenv("XDG_DATA_HOME", m_data->path().toUtf8());
}

TestEnvironment::~TestEnvironment()
{
    delete m_config;
    delete m_data;
}

QString TestEnvironment::configHome() const { return m_config->path(); }
QString TestEnvironment::dataHome() const { return m_data->path(); }

QString writeFile(const QString &dir, const QString &relativePath, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
