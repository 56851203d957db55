// The start window's content: the application's icon and actions beside the
// list of recently opened folders; a single click on a folder opens it.
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;

class OpenViewController : public QWidget
{
    Q_OBJECT
public:
    // Lists the given recent folders, most recent first.
    explicit OpenViewController(const QStringList &projects, QWidget *parent = nullptr);

    const QStringList &projects() const { return m_projects; }
    QListWidget *tableView() const { return m_tableView; }
    QLabel *emptyLabel() const { return m_emptyLabel; }

signals:
    void openProject();
    void scan();
    void showHelp();
    void openFolderRequested(const QString &path);

private:
    void onSelectionChanged();

    QStringList m_projects;
    QLabel *m_appIcon;
    QListWidget *m_tableView;
    QLabel *m_emptyLabel;
};
