// The panel widget: a caption naming the row, and the language table.
#include "gui/translationsviewcontroller.h"

#include "gui/translationstablemodel.h"

#include "common/settings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

TranslationsViewController::TranslationsViewController(QWidget *parent)
    : QWidget(parent), m_caption(new QLabel), m_table(new QTableView)
{
    m_tableModel = new TranslationsTableModel(
        m_panel, [] { return Settings::baseLanguageCandidates(); }, [] { return Settings::ignoredLanguages(); },
        this);
    connect(m_tableModel, &TranslationsTableModel::edited, this,
            [this](const QString &language, const QString &value, const std::optional<QString> &path) {
                emit translationEdited(m_panel.rowKey, language, value, path);
            });
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setMinimumHeight(m_caption->fontMetrics().height() + 12);
    m_caption->setIndent(4);
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    m_caption->setFont(captionFont);

    m_table->setModel(m_tableModel);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_caption);
    layout->addWidget(m_table);
    reload();
}

void TranslationsViewController::showItem(const QString &rowKey, const Row &row,
                                          const QStringList &languages)
{
    m_panel.show(rowKey, row, languages, Settings::baseLanguageCandidates());
    reload();
}

void TranslationsViewController::updateItem(const QString &rowKey, const Row &row)
{
    if (!m_panel.item || m_panel.rowKey != rowKey)
        return;
    m_panel.item = row;
    m_tableModel->cellsChanged();
}

void TranslationsViewController::clearItem()
{
    m_panel.clear();
    reload();
}

void TranslationsViewController::reload()
{
    m_caption->setText(m_panel.item ? m_panel.rowKey : tr("Select one row to see its translations"));
    m_tableModel->reload();
}

bool TranslationsViewController::eventFilter(QObject *watched, QEvent *event)
{
    // The Delete shortcut deletes the editor's keys; pressed in the panel it
    // must not reach that command.
    if (watched == m_table && event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Delete) || key->key() == Qt::Key_Backspace) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
