// Where the user help page is: installed beside the program, or in the
// source tree of a build that has not been installed.
#pragma once

#include <QString>
#include <QUrl>

class HelpPage
{
public:
    // The help page as a file location for QDesktopServices::openUrl, looked
    // for in this order: <executable folder>/../share/verbalo/help.html, the
    // source tree's docs/help.html, then verbalo/help.html in the XDG data
    // folders. An empty QUrl when none exists.
    static QUrl location();
    // The same, for a program living in `applicationDirPath`.
    static QUrl location(const QString &applicationDirPath);
};
