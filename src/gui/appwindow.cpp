// Drop handling and close notice common to the start and main windows.
#include "gui/appwindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {
QString droppedPath(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}
} // namespace

AppWindow::AppWindow(QWidget *parent) : QMainWindow(parent) { setAcceptDrops(true); }

void AppWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void AppWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    emit pathDropped(path);
}

void AppWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous())
        emit closeRequestedByUser();
    QMainWindow::closeEvent(event);
}
