// Listing a folder byte for byte, keeping apart the names Qt cannot hold.
#include "model/folderlisting.h"

#include <QFile>
#include <algorithm>
#include <dirent.h>

FolderListing FolderListing::read(const QString &folder)
{
    FolderListing listing;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return listing;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        const QString name = QFile::decodeName(raw);
        (QFile::encodeName(name) == raw ? listing.names : listing.undecodable).append(name);
    }
    ::closedir(dir);
    std::sort(listing.names.begin(), listing.names.end());
    return listing;
}
