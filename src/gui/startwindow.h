// The start window, shown while no project is open: the recent folders and the
// buttons to open a project, scan a folder and read the help.
#pragma once

#include "gui/appwindow.h"

class OpenViewController;

class StartWindow : public AppWindow
{
    Q_OBJECT
public:
    explicit StartWindow(const QStringList &recentFolders, QWidget *parent = nullptr);

    OpenViewController *openView() const { return m_view; }

private:
    OpenViewController *m_view;
};
