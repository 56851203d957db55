// The start window frame around the start view.
#include "gui/startwindow.h"

#include "gui/openviewcontroller.h"

#include <QStatusBar>

StartWindow::StartWindow(const QStringList &recentFolders, QWidget *parent)
    : AppWindow(parent), m_view(new OpenViewController(recentFolders))
{
    setCentralWidget(m_view);
    statusBar()->setSizeGripEnabled(false);
    resize(760, 460);
}
