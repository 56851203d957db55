// Import of one language's texts from .strings files named after a language
// (de.strings, German.strings, fr-CA.strings) found below a folder.
#pragma once

#include "model/filefinder.h"
#include "model/projectmodel.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

// What an import did: texts stored, files whose language the project does
// not have (file path and the language it names), and paths find could not read.
struct ImportResult
{
    int stored = 0;
    QList<std::pair<QString, QString>> unmatched;
    QList<SkippedPath> skipped;
};

class TranslationImport
{
public:
    // Puts every text of every such file below the folder into the project
    // language the file names: the one whose normalised code is the file
    // name's ("pt_BR.strings" goes to "pt-BR"), else that of the language
    // the name spells ("German.strings" to "de"). A text goes into the first
    // row of model.keys whose entry key is the text's key, with that row's
    // base entry's comment; a row without a base entry takes nothing. A file
    // naming a language the project does not have stores nothing and is
    // listed. Ends with a save; the caller refreshes its rows. Folders below the
    // folder that find cannot enter, and files whose names are not UTF-8, are
    // left out, logged, and listed.
    static ImportResult importTranslations(ProjectModel &model, const QString &folder);
    // The project language an imported file's texts belong to, if any.
    static std::optional<QString> projectLanguageFor(const QString &fileName, const QStringList &languages);
};
