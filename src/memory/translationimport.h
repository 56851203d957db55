// Import of one language's texts from .strings files named after a language
// (de.strings, German.strings, fr-CA.strings) found below a folder.
#pragma once

#include "model/filefinder.h"
#include "model/projectmodel.h"

#include <QString>

class TranslationImport
{
public:
    // Puts every text of every such file below the folder into the language
    // the file names, in the first row of model.keys whose entry key is exactly
    // the text's key, with that row's base entry's comment; a row without a
    // base entry takes nothing. Ends with model.refresh(sort). Does not save.
    // Returns the number of texts stored. Folders below the folder that find
    // cannot enter, and files whose names are not UTF-8, are left out, logged,
    // and listed in *skipped.
    static int importTranslations(ProjectModel &model, const QString &folder,
                                  const SortDescriptor &sort = {},
                                  QList<SkippedPath> *skipped = nullptr);
};
