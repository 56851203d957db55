// The translations panel beside the editor: every language's text of the
// selected row, editable, with texts equal to the base text highlighted.
#pragma once

#include "memory/translationspanel.h"

#include <QWidget>
#include <optional>

class QLabel;
class QTableView;
class TranslationsTableModel;

class TranslationsViewController : public QWidget
{
    Q_OBJECT
public:
    explicit TranslationsViewController(QWidget *parent = nullptr);

    // From the editor's selection handler: one row, or none (several selected).
    void showItem(const QString &rowKey, const Row &row, const QStringList &languages);
    void clearItem();
    // The shown row changed in the editor's model: its cells are redrawn
    // from the new row, the list of languages stays.
    void updateItem(const QString &rowKey, const Row &row);

    const TranslationsPanel &panel() const { return m_panel; }
    QTableView *tableView() const { return m_table; }

signals:
    // A language's text of the row shown was edited: for the editor to store.
    // `path` names the variant of a plural or catalog row's line.
    void translationEdited(const QString &rowKey, const QString &language, const QString &value,
                           const std::optional<QString> &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reload();

    TranslationsPanel m_panel;
    QLabel *m_caption;
    QTableView *m_table;
    TranslationsTableModel *m_tableModel;
};
