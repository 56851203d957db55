// One row of the start window's recent-folders list: the folder's name above
// its shortened path.
#pragma once

#include <QWidget>

class QLabel;

class ProjectCellView : public QWidget
{
    Q_OBJECT
public:
    explicit ProjectCellView(QWidget *parent = nullptr);

    QLabel *nameLabel() const { return m_nameLabel; }
    QLabel *pathLabel() const { return m_pathLabel; }

private:
    QLabel *m_nameLabel;
    QLabel *m_pathLabel;
};
