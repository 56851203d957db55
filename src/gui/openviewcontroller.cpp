// Start window layout and the recent-folder list's behaviour.
#include "gui/openviewcontroller.h"

#include "gui/projectcellview.h"

#include "shell/startwindowtext.h"
#include "common/log.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

OpenViewController::OpenViewController(const QStringList &projects, QWidget *parent)
    : QWidget(parent), m_projects(projects), m_appIcon(new QLabel),
      m_tableView(new QListWidget), m_emptyLabel(new QLabel)
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_DirIcon);
    m_appIcon->setPixmap(icon.pixmap(96, 96));
    m_appIcon->setAlignment(Qt::AlignCenter);

    auto *name = new QLabel(tr("Verbalo"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.8);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);
    auto *tagline = new QLabel(tr("Edit the .strings files of your projects"));
    tagline->setAlignment(Qt::AlignCenter);
    tagline->setForegroundRole(QPalette::PlaceholderText);

    auto *openButton = new QPushButton(QIcon::fromTheme(QStringLiteral("document-open")),
                                       tr("Open Project…"));
    auto *scanButton = new QPushButton(QIcon::fromTheme(QStringLiteral("folder-saved-search")),
                                       tr("Scan Folder into Memory…"));
    auto *helpButton = new QPushButton(QIcon::fromTheme(QStringLiteral("help-contents")),
                                       tr("Help"));
    openButton->setDefault(true);
    for (QPushButton *button : {openButton, scanButton, helpButton})
        button->setMinimumHeight(32);
    connect(openButton, &QPushButton::clicked, this, &OpenViewController::openProject);
    connect(scanButton, &QPushButton::clicked, this, &OpenViewController::scan);
    connect(helpButton, &QPushButton::clicked, this, &OpenViewController::showHelp);

    auto *side = new QVBoxLayout;
    side->setContentsMargins(24, 24, 24, 24);
    side->setSpacing(8);
    side->addStretch();
    side->addWidget(m_appIcon);
    side->addWidget(name);
    side->addWidget(tagline);
    side->addSpacing(24);
    side->addWidget(openButton);
    side->addWidget(scanButton);
    side->addWidget(helpButton);
    side->addStretch();

    auto *recentTitle = new QLabel(tr("Recent Folders"));
    QFont recentFont = recentTitle->font();
    recentFont.setBold(true);
    recentTitle->setFont(recentFont);

    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setCursor(Qt::PointingHandCursor);
    for (const QString &path : std::as_const(m_projects)) {
        auto *cell = new ProjectCellView;
        cell->nameLabel()->setText(StartWindowText::nameText(path));
        cell->pathLabel()->setText(StartWindowText::pathText(path));
        cell->setToolTip(path);
        auto *item = new QListWidgetItem(m_tableView);
        item->setSizeHint(cell->sizeHint());
        m_tableView->setItemWidget(item, cell);
    }
    m_tableView->setCurrentRow(-1, QItemSelectionModel::Clear);
    connect(m_tableView, &QListWidget::itemSelectionChanged, this,
            &OpenViewController::onSelectionChanged);

    m_emptyLabel->setText(tr("No recent folders yet.\nOpen a project folder to start."));
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setForegroundRole(QPalette::PlaceholderText);
    m_tableView->setVisible(!m_projects.isEmpty());
    m_emptyLabel->setVisible(m_projects.isEmpty());

    // The recent folders sit on the base colour, like a document beside the
    // application's own side.
    auto *listPane = new QFrame;
    listPane->setAutoFillBackground(true);
    listPane->setBackgroundRole(QPalette::Base);
    m_tableView->setFrameShape(QFrame::NoFrame);
    auto *list = new QVBoxLayout(listPane);
    list->setContentsMargins(16, 20, 16, 16);
    list->setSpacing(10);
    list->addWidget(recentTitle);
    list->addWidget(m_tableView, 1);
    list->addWidget(m_emptyLabel, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(side, 2);
    layout->addWidget(listPane, 3);
}


void OpenViewController::onSelectionChanged()
{
    const QList<QListWidgetItem *> selected = m_tableView->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_tableView->row(selected.first());
    Log::debug(QStringLiteral("Selected "), QString::number(row));
    if (row < 0 || row >= m_projects.size())
        return;
    Log::debug(QStringLiteral("Opening "), m_projects.at(row));
    emit openFolderRequested(m_projects.at(row));
}
