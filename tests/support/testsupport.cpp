// Helpers shared by the test binaries.
#include "testsupport.h"

#include "common/settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/stat.h>

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

void writeFileAtBytes(const QString &dir, const QByteArray &relativePath, const QByteArray &bytes)
{
    const QByteArray path = QFile::encodeName(dir) + '/' + relativePath;
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0755);
    if (FILE *file = std::fopen(path.constData(), "wb")) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
        std::fclose(file);
    }
}

void removeTree(const QString &dir)
{
    QProcess::execute(QStringLiteral("/bin/rm"), {QStringLiteral("-rf"), dir});
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

ProjectModel loadProject(const QString &root, bool refresh)
{
    ProjectModel model;
    model.projectURL = root;
    // As the app does: the candidates and the filter come from the settings.
    model.baseLanguages = [] { return Settings::baseLanguageCandidates(); };
    model.load();
    if (refresh)
        model.rebuildKeys(SortDescriptor{}, Settings().boolValue(Settings::HideTranslated));
    return model;
}

QString copyDemo(const QString &dir)
{
    const QString from = QStringLiteral(VERBALO_SOURCE_DIR "/examples/Demo");
    const QString to = dir + QStringLiteral("/Demo");
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
    return to;
}

bool canRunAsNobody()
{
    return !QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty();
}

CliRun runCliProgram(const QStringList &arguments, bool asNobody)
{
    const QString cli = QStringLiteral(VERBALO_BIN_DIR "/verbalo-cli");
    QProcess process;
    if (asNobody)
        process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                             QStringLiteral("--clear-groups"), QStringLiteral("--"), cli}
                                                     + arguments);
    else
        process.start(cli, arguments);
    CliRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *os << (i ? ", \"" : "\"") << texts.at(i).toStdString() << '"';
    *os << ']';
}

void PrintTo(const SaveFailure &failure, std::ostream *os)
{
    *os << failure.path.toStdString() << ": " << failure.reason.toStdString();
}
