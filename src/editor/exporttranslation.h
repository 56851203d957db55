// Export of the base texts of every row that still lacks a translation into
// one .strings file, for sending to a translator.
#pragma once

#include <QString>
#include <QStringList>

class ProjectModel;

class ExportTranslation
{
public:
    // The export text: for every row key of data (also rows the table hides),
    // in ascending order of the lower-cased row key, whose status does not
    // begin with "OK" and that has a base entry, the block
    // "/*comment*/\n\"key\" = \"value\";\n\n" escaped as a save escapes it,
    // so that an import of the file gives back every text. Empty when no row
    // qualifies.
    static QString exportText(const ProjectModel &model, const QStringList &candidates);

    // exportText() with the candidates from the settings, written atomically
    // as UTF-8 to `path` (also when empty). Only reads the model. Returns false,
    // with a one-line reason in *error, when the file could not be written (the
    // old file then stays whole) or when the path names something other than a
    // regular file (a folder, a device, a pipe), which is left as it is.
    static bool exportTranslation(const ProjectModel &model, const QString &path,
                                  QString *error = nullptr);
};
