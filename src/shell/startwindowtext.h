// The texts of one row of the start window's list of recent folders.
#pragma once

#include <QString>

class StartWindowText
{
public:
    // The folder's name: the last component of the path ("/" stays "/").
    static QString nameText(const QString &path);

    // The path as shown: below the user's home folder it starts with "~"
    // ("/home/dev/Code/App" shows as "~/Code/App", the home folder itself as
    // "~"); any other path shows in full. Only a whole leading home folder is
    // shortened, so "/home/devops" stays as it is for the user "dev".
    static QString pathText(const QString &path);
    // The same against a given home folder.
    static QString pathText(const QString &path, const QString &homePath);
};
