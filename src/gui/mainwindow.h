// The one main window: one tab per open project. Its title is the current
// project's title ("<rows> - <path>").
#pragma once

#include "gui/appwindow.h"

class ProjectWindowController;
class QLabel;
class QTabWidget;

class MainWindow : public AppWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    void addProject(ProjectWindowController *project);
    void removeProject(ProjectWindowController *project);
    // The current tab's project, or null with no tab.
    ProjectWindowController *currentProject() const;
    void setCurrentProject(ProjectWindowController *project);
    int projectCount() const;

    QTabWidget *tabs() const { return m_tabs; }

signals:
    void projectCloseRequested(ProjectWindowController *project);

private:
    ProjectWindowController *projectAt(int index) const;
    void updateTitle();

    QTabWidget *m_tabs;
    QLabel *m_summary;
};
