// One open project: the content of one tab of the main window, a splitter with
// the editor in pane 0 and the translations panel in pane 1.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSplitter>

class StringsViewController;
class TranslationsViewController;

class ProjectWindowController : public QObject
{
    Q_OBJECT
public:
    ProjectWindowController();
    ~ProjectWindowController() override;

    // The project root. Set once, before open().
    QString projectURL() const { return m_projectURL; }
    void setProjectURL(const QString &path) { m_projectURL = path; }

    // Wires editor and panel to each other and has the editor load the project.
    void open();

    // The tab's content; null once the tab has been destroyed.
    QSplitter *window() const { return m_splitter; }
    // Pane 0 and pane 1 of the splitter; null when absent.
    StringsViewController *editor() const;
    TranslationsViewController *panel() const;

    // The tab's text: the project folder's name.
    QString tabTitle() const;

signals:
    void titleChanged(const QString &title);
    // A line for the status bar from the project's editor.
    void notice(const QString &text);

private:
    QString m_projectURL;
    QPointer<QSplitter> m_splitter;
};
