// Tabs of project windows inside one top-level window.
#include "gui/mainwindow.h"

#include "gui/projectwindowcontroller.h"
#include "gui/stringsviewcontroller.h"

#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

namespace {
const char *const kControllerProperty = "verbaloProject";
}

MainWindow::MainWindow(QWidget *parent)
    : AppWindow(parent), m_tabs(new QTabWidget), m_summary(new QLabel)
{
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    m_tabs->setDocumentMode(true);
    m_tabs->setElideMode(Qt::ElideMiddle);
    setCentralWidget(m_tabs);
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addPermanentWidget(m_summary);
    resize(1280, 800);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::updateTitle);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (ProjectWindowController *project = projectAt(index))
            emit projectCloseRequested(project);
    });
}

void MainWindow::addProject(ProjectWindowController *project)
{
    QWidget *content = project->window();
    content->setProperty(kControllerProperty, QVariant::fromValue<QObject *>(project));
    const int index = m_tabs->addTab(content, project->tabTitle());
    m_tabs->setTabToolTip(index, project->projectURL());
    connect(project, &ProjectWindowController::titleChanged, this, &MainWindow::updateTitle);
    updateTitle();
}

void MainWindow::removeProject(ProjectWindowController *project)
{
    disconnect(project, nullptr, this, nullptr);
    const int index = m_tabs->indexOf(project->window());
    if (index >= 0)
        m_tabs->removeTab(index);
    updateTitle();
}

ProjectWindowController *MainWindow::currentProject() const
{
    return projectAt(m_tabs->currentIndex());
}

void MainWindow::setCurrentProject(ProjectWindowController *project)
{
    const int index = m_tabs->indexOf(project->window());
    if (index >= 0)
        m_tabs->setCurrentIndex(index);
}

int MainWindow::projectCount() const { return m_tabs->count(); }

ProjectWindowController *MainWindow::projectAt(int index) const
{
    QWidget *content = m_tabs->widget(index);
    if (!content)
        return nullptr;
    return qobject_cast<ProjectWindowController *>(
        content->property(kControllerProperty).value<QObject *>());
}

void MainWindow::updateTitle()
{
    ProjectWindowController *project = currentProject();
    StringsViewController *editor = project ? project->editor() : nullptr;
    setWindowTitle(editor ? editor->title() : tr("Verbalo"));
    if (!editor) {
        m_summary->clear();
        return;
    }
    const ProjectModel &model = editor->model();
    m_summary->setText(tr("%1 of %2 rows shown").arg(model.keys.size()).arg(model.data.size())
                       + QStringLiteral("  ·  ")
                       + tr("Languages: %1").arg(model.languages.join(QStringLiteral(", "))));
}
