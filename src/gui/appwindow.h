// What both top-level windows share: the main menu, a status bar, folders
// dropped on the window, and telling the shell when the user closes it.
#pragma once

#include <QMainWindow>

class AppWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit AppWindow(QWidget *parent = nullptr);

signals:
    // A file or folder dropped on the window: the open-path request.
    void pathDropped(const QString &path);
    // The user (not the program) asked to close the window.
    void closeRequestedByUser();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
