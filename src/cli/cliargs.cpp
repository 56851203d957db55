// Argument parsing and output helpers shared by the verbalo-cli commands.
#include "cliargs.h"

#include "common/settings.h"
#include "model/projectmodel.h"
#include "shell/savesettings.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <vector>

CliArgs::CliArgs(const QStringList &arguments, std::initializer_list<CliOption> options)
{
    auto find = [&](const QString &name) -> const CliOption * {
        for (const CliOption &o : options)
            if (o.name == name)
                return &o;
        return nullptr;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (!optionsEnded && arg == QLatin1String("--"))
                optionsEnded = true;
            else
                m_positionals << arg;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? arg : arg.left(eq);
        const CliOption *option = find(name);
        if (!option)
            throw CliError{QStringLiteral("unknown option %1").arg(name)};
        if (!option->takesValue) {
            if (eq >= 0)
                throw CliError{QStringLiteral("%1 takes no value").arg(name)};
            m_options.append({name, QString()});
        } else if (eq >= 0) {
            m_options.append({name, arg.mid(eq + 1)});
        } else {
            if (i + 1 >= arguments.size())
                throw CliError{QStringLiteral("%1 needs a value").arg(name)};
            m_options.append({name, arguments.at(++i)});
        }
    }
}

bool CliArgs::has(const QString &option) const
{
    for (const auto &o : m_options)
        if (o.first == option)
            return true;
    return false;
}

std::optional<QString> CliArgs::value(const QString &option) const
{
    std::optional<QString> result;
    for (const auto &o : m_options)
        if (o.first == option)
            result = o.second;
    return result;
}

QStringList CliArgs::values(const QString &option) const
{
    QStringList result;
    for (const auto &o : m_options)
        if (o.first == option)
            result << o.second;
    return result;
}

void CliArgs::expectPositionals(int min, int max, const QString &what) const
{
    const qsizetype n = m_positionals.size();
    if (n < min)
        throw CliError{QStringLiteral("missing %1").arg(what)};
    if (max >= 0 && n > max)
        throw CliError{QStringLiteral("unexpected argument %1").arg(m_positionals.at(max))};
}

void CliArgs::applyBaseLanguage(ProjectModel &model) const
{
    const std::optional<QString> list = value(CliOptions::BaseLanguage.name);
    if (!list) {
        model.baseLanguages = [] { return Settings::baseLanguageCandidates(); };
        return;
    }
    QStringList candidates;
    for (const QString &part : list->split(QLatin1Char(',')))
        if (!part.trimmed().isEmpty())
            candidates << part.trimmed();
    if (candidates.isEmpty())
        throw CliError{QStringLiteral("--base-language needs at least one language")};
    model.baseLanguages = [candidates] { return candidates; };
}

void CliArgs::applyProjectOptions(ProjectModel &model) const
{
    applyBaseLanguage(model);
    applyIgnoredLanguages(model);
    applySaveOptions(model);
}

void CliArgs::applyIgnoredLanguages(ProjectModel &model) const
{
    const std::optional<QString> list = value(CliOptions::IgnoreMissing.name);
    if (!list) {
        model.ignoredLanguages = [] { return Settings::ignoredLanguages(); };
        return;
    }
    const QStringList ignored = Settings::languageList(*list);
    model.ignoredLanguages = [ignored] { return ignored; };
}

void CliArgs::applySaveOptions(ProjectModel &model) const
{
    SaveOptions options = SaveSettings::read();
    if (const std::optional<QString> layout = value(CliOptions::Layout.name)) {
        const std::optional<SaveLayout> named = SaveOptions::layoutNamed(*layout);
        if (!named)
            throw CliError{QStringLiteral("--layout takes canonical or preserve, not %1").arg(*layout)};
        options.layout = *named;
    }
    if (const std::optional<QString> locale = value(CliOptions::CollationLocale.name))
        options.collationLocale = locale->trimmed();
    model.saveOptions = [options] { return options; };
}

QString requireFolder(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        throw CliError{QStringLiteral("no such folder: %1").arg(path)};
    if (!info.isReadable() || !info.isExecutable())
        throw CliError{QStringLiteral("cannot read folder: %1").arg(path)};
    return QDir::cleanPath(info.absoluteFilePath());
}

void cliPrintError(const QString &line)
{
    std::fflush(stdout);
    const QByteArray bytes = (QStringLiteral("verbalo-cli: ") + line).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

ProjectModel &commandModel()
{
    // Commands run in-process by tests may each ask for a model.
    static auto *const models = new std::vector<ProjectModel *>;
    models->push_back(new ProjectModel);
    return *models->back();
}

void loadProject(ProjectModel &model, const QString &root)
{
    model.projectURL = root;
    model.load();
    for (auto it = model.keptFolders.cbegin(); it != model.keptFolders.cend(); ++it)
        cliPrintError(QStringLiteral("will not write into %1: %2").arg(it.key(), it.value()));
    for (auto it = model.keptFiles.cbegin(); it != model.keptFiles.cend(); ++it)
        cliPrintError(QStringLiteral("will not rewrite %1: %2").arg(it.key(), it->reason));
}

void requireSaved(const ProjectModel &model)
{
    const QList<SaveFailure> &failures = model.lastSave.notWritten;
    if (failures.isEmpty())
        return;
    for (const SaveFailure &failure : failures)
        cliPrintError(QStringLiteral("not written: %1: %2").arg(failure.path, failure.reason));
    throw CliError{QStringLiteral("%1 file(s) not written").arg(failures.size())};
}

void cliReportSkipped(const QList<SkippedPath> &skipped, const QString &folder)
{
    if (skipped.size() == 1)
        cliPrintError(QStringLiteral("1 path below %1 could not be read and was left out").arg(folder));
    else if (skipped.size() > 1)
        cliPrintError(QStringLiteral("%1 paths below %2 could not be read and were left out")
                       .arg(skipped.size())
                       .arg(folder));
}

void cliPrint(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void cliPrintLine(const QString &text)
{
    cliPrint(text);
    std::fputc('\n', stdout);
}

QString jsonString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\b': out += QLatin1String("\\b"); break;
        case '\f': out += QLatin1String("\\f"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c == QChar(0x2028) || c == QChar(0x2029))
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString jsonStringOrNull(const std::optional<QString> &text)
{
    return text ? jsonString(*text) : QStringLiteral("null");
}

QString jsonStringArray(const QStringList &texts)
{
    QString out = QStringLiteral("[");
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i)
            out += QStringLiteral(", ");
        out += jsonString(texts.at(i));
    }
    out += QLatin1Char(']');
    return out;
}
