// verbalo-cli translate: the missing languages of rows through the Google
// translation service, with progress on standard error, then save.
#include "app/settings.h"
#include "cli/cliargs.h"
#include "cli/cliselection.h"
#include "cli/commands.h"
#include "translate/translatejob.h"

#include <QEventLoop>
#include <cstdio>

int commandTranslate(const QStringList &arguments)
{
    const CliOption apiKey{QStringLiteral("--api-key"), true};
    const CliOption rowKey{QStringLiteral("--row-key"), true};
    const CliArgs args(arguments, {apiKey, CliOptions::BaseLanguage, rowKey});
    args.expectPositionals(1, 1, QStringLiteral("ROOT"));
    args.applyBaseLanguage();
    std::optional<QString> key = args.value(apiKey.name);
    if (!key)
        key = Settings().text(Settings::GoogleApiKey);
    if (!key || key->isEmpty())
        throw CliError{QStringLiteral(
            "no API key: pass --api-key KEY or store one in the \"google.api.key\" setting")};

    ProjectModel model;
    CliSelection::load(model, requireFolder(args.positionals().at(0)));
    QList<int> selection;
    if (args.has(rowKey.name)) {
        selection = CliSelection::indexesOf(model, args.values(rowKey.name));
    } else {
        for (int i = 0; i < model.keys.size(); ++i) {
            if (!model.statusText(model.keys.at(i)).startsWith(QLatin1String("OK")))
                selection << i;
        }
    }

    TranslateJob job(model);
    QEventLoop loop;
    QObject::connect(&job, &TranslateJob::progress, &job, [](int finished, int, int total) {
        std::fprintf(stderr, "translated %d of %d keys\n", finished, total);
        std::fflush(stderr);
    });
    QObject::connect(&job, &TranslateJob::finished, &loop, &QEventLoop::quit);
    job.start(selection, key);
    loop.exec();
    return 0;
}
