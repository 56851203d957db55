// Two vertically centred labels; the path is drawn smaller and dimmed.
#include "gui/projectcellview.h"

#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

ProjectCellView::ProjectCellView(QWidget *parent)
    : QWidget(parent), m_nameLabel(new QLabel), m_pathLabel(new QLabel)
{
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_pathLabel->setTextFormat(Qt::PlainText);
    QFont nameFont = m_nameLabel->font();
    nameFont.setBold(true);
    m_nameLabel->setFont(nameFont);
    QFont pathFont = m_pathLabel->font();
    pathFont.setPointSizeF(pathFont.pointSizeF() * 0.9);
    m_pathLabel->setFont(pathFont);
    m_pathLabel->setForegroundRole(QPalette::PlaceholderText);
    m_nameLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pathLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(2);
    layout->addStretch();
    layout->addWidget(m_nameLabel);
    layout->addWidget(m_pathLabel);
    layout->addStretch();
}
