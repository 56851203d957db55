// verbalo-cli translate: the missing languages of rows through the Google
// translation service, with progress on standard error, then save.
#include "common/settings.h"
#include "cli/cliargs.h"
#include "cli/cliselection.h"
#include "cli/commands.h"
#include "translate/translatejob.h"

#include <QEventLoop>
#include <QFile>
#include <cstdio>

namespace {

const CliOption kApiKey{QStringLiteral("--api-key"), true};
const CliOption kApiKeyFile{QStringLiteral("--api-key-file"), true};

// The first source given wins, most private first: a file, which only its
// owner need be able to read; the command line, which every user sees in the
// process list; the environment; the stored setting.
std::optional<QString> apiKeyOf(const CliArgs &args)
{
    if (const std::optional<QString> path = args.value(kApiKeyFile.name)) {
        QFile file(*path);
        if (!file.open(QIODevice::ReadOnly))
            throw CliError{QStringLiteral("cannot read the API key file %1: %2")
                               .arg(*path, file.errorString())};
        // A key is one short line; a device without end must not be read whole.
        const QByteArray line = file.readLine(64 * 1024);
        if (file.error() != QFileDevice::NoError)
            throw CliError{QStringLiteral("cannot read the API key file %1: %2")
                               .arg(*path, file.errorString())};
        const QString key = QString::fromUtf8(line).trimmed();
        if (key.isEmpty())
            throw CliError{
                QStringLiteral("the API key file %1 holds no key on its first line").arg(*path)};
        return key;
    }
    if (const std::optional<QString> key = args.value(kApiKey.name))
        return key;
    const QString environment = qEnvironmentVariable("VERBALO_GOOGLE_API_KEY").trimmed();
    if (!environment.isEmpty())
        return environment;
    return Settings().text(Settings::GoogleApiKey);
}

} // namespace

int commandTranslate(const QStringList &arguments)
{
    const CliOption rowKey{QStringLiteral("--row-key"), true};
    const CliArgs args(arguments, {kApiKey, kApiKeyFile, CliOptions::BaseLanguage, CliOptions::Layout, CliOptions::CollationLocale, rowKey});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    const std::optional<QString> key = apiKeyOf(args);
    if (!key || key->isEmpty())
        throw CliError{
            QStringLiteral("no API key: pass --api-key-file FILE, set VERBALO_GOOGLE_API_KEY, "
                           "or store one in the \"google.api.key\" setting")};

    ProjectModel &model = commandModel();
    args.applyProjectOptions(model);
    CliSelection::load(model, requireFolder(args.positionals().at(0)));
    QList<int> selection;
    if (args.has(rowKey.name)) {
        selection = CliSelection::indexesOf(model, args.values(rowKey.name));
    } else {
        // Rows without a base entry have nothing to send, and the command
        // stops at the first one it meets, so they are left out here.
        int skipped = 0;
        for (int i = 0; i < model.keys.size(); ++i) {
            if (model.isTranslated(model.keys.at(i)))
                continue;
            if (model.baseEntry(model.keys.at(i)))
                selection << i;
            else
                ++skipped;
        }
        if (skipped > 0)
            std::fprintf(stderr, "skipped %d rows without a base entry\n", skipped);
    }

    // Texts are asked for wherever a selected row lacks a project language;
    // counting them before and after tells the user what actually arrived,
    // since single failed requests leave no other trace.
    const auto missingTexts = [&model](const QList<int> &rows) {
        int missing = 0;
        for (int index : rows) {
            const Row row = model.data.value(model.keys.at(index));
            for (const QString &language : std::as_const(model.languages))
                missing += row.contains(language) ? 0 : 1;
        }
        return missing;
    };
    QList<int> missingBefore;
    for (int index : std::as_const(selection))
        missingBefore << missingTexts({index});

    TranslateJob job(model);
    QEventLoop loop;
    QObject::connect(&job, &TranslateJob::progress, &job, [](int finished, int, int total) {
        std::fprintf(stderr, "finished %d of %d keys\n", finished, total);
        std::fflush(stderr);
    });
    QObject::connect(&job, &TranslateJob::finished, &loop, &QEventLoop::quit);
    job.start(selection, key);
    loop.exec();
    if (!job.stoppedAt().isEmpty()) {
        const QByteArray line = QStringLiteral("stopped at %1, which has no base entry\n")
                                    .arg(job.stoppedAt())
                                    .toUtf8();
        std::fputs(line.constData(), stderr);
    }
    // A stop leaves the rows from the stopping one on unasked.
    int asked = 0;
    int translated = 0;
    for (qsizetype i = 0; i < selection.size(); ++i) {
        if (model.keys.at(selection.at(i)) == job.stoppedAt())
            break;
        asked += missingBefore.at(i);
        translated += missingBefore.at(i) - missingTexts({selection.at(i)});
    }
    std::printf("%d of %d missing texts translated\n", translated, asked);
    if (job.refusedAnswers() > 0)
        std::fprintf(stderr, "%d answers not written: their format specifiers do not match the base text\n",
                     job.refusedAnswers());
    requireSaved(model);
    if (asked > 0 && translated == 0)
        throw CliError{QStringLiteral("no translation was received: check the API key and the network")};
    return 0;
}
