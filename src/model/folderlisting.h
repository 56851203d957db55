// The names in a folder, as the project's load reads them.
#pragma once

#include <QString>
#include <QStringList>

struct FolderListing
{
    // Every name but "." and "..", hidden ones and every kind of entry
    // included, in code-unit order; none when the folder cannot be listed.
    QStringList names;
    // Names that are not valid UTF-8, decoded for messages only: Qt would give
    // them stand-in characters, under which nothing can open them again.
    QStringList undecodable;

    // Read with readdir: QDir leaves out names that are not valid UTF-8
    // without a word.
    static FolderListing read(const QString &folder);
};
