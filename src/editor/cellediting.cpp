// Cell edits write the base entry's fields into every candidate language, so
// that the saved files carry the new key, value or comment in every language.
#include "cellediting.h"

#include "model/heldtext.h"
#include "common/log.h"
#include "model/projectmodel.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

// Keys are held as written: "caf\U00e9" and "café" are the same key.
bool sameKey(const QString &a, const QString &b)
{
    if (!a.contains(u'\\') && !b.contains(u'\\'))
        return a == b;
    return HeldText::toPlain(a) == HeldText::toPlain(b);
}

// The row of the file, other than `except`, that already has the key: as its
// row key's key, or as the key of one of its entries.
QString rowWithKey(const ProjectModel &model, const QString &fileName, const QString &key, const QString &except)
{
    for (auto it = model.mapKeyToFile.cbegin(); it != model.mapKeyToFile.cend(); ++it) {
        if (it.value() != fileName || it.key() == except)
            continue;
        const auto row = model.data.constFind(it.key());
        if (row == model.data.cend())
            continue;
        if (sameKey(it.key().chopped(fileName.size() + 1), key))
            return it.key();
        for (const Entry &entry : *row)
            if (sameKey(entry.key, key))
                return it.key();
    }
    return {};
}

QString describe(const QVariant &value)
{
    QString text;
    QDebug(&text).nospace() << value;
    return text;
}

} // namespace

bool CellEditing::shouldEditTableColumn(const std::optional<Column> &column, int row)
{
    Q_UNUSED(row);
    return !column || Columns::isEditable(*column);
}

CommandOutcome CellEditing::setObjectValue(ProjectModel &model, const QVariant &value,
                                           const std::optional<Column> &column, int row)
{
    if (!column)
        return {};
    if (!value.isValid() || value.typeId() != QMetaType::QString) {
        Log::line(QStringLiteral("Invalid object, expecting string object: ") + describe(value));
        return {};
    }
    if (row < 0 || row >= model.keys.size())
        return {};
    const QString newText = value.toString();
    const QString mk = model.keys.at(row);
    const QStringList candidates = model.candidates();
    const std::optional<Entry> base = ProjectModel::baseEntryOf(model.data.value(mk), candidates);
    if (!base)
        return {};

    // Plural and catalog files are written unit by unit: a key or comment
    // changed here would never reach them.
    if (VariantFiles::isVariantFile(mk) && (*column == Column::Key || *column == Column::Comment))
        return {.message = QCoreApplication::translate(
                    "CellEditing", "Not changed: keys and comments of %1 files are edited in Xcode")
                               .arg(model.mapKeyToFile.value(mk).section(u'.', -1))};

    Entry edited = *base;
    if (*column == Column::Key) {
        // Two rows with one key in a file would be one row at the next load,
        // and the other row's texts would be gone at the save after it.
        const QString fileName = model.mapKeyToFile.value(mk);
        if (!sameKey(newText, base->key) && !rowWithKey(model, fileName, newText, mk).isEmpty())
            return {.message = QCoreApplication::translate("CellEditing",
                                                           "Not renamed: %1 already has the key \"%2\"")
                                   .arg(fileName, newText)};
        edited.key = newText;
    } else if (*column == Column::Value) {
        edited.value = newText;
    } else if (*column == Column::Comment) {
        edited.comment = newText;
    } else {
        Log::line(QStringLiteral("StringsViewController(") + model.projectURL +
                  QStringLiteral("): We shouldn't be here"));
        model.save();
        return {.saves = 1};
    }
    Row &r = model.data[mk];
    for (const QString &candidate : candidates)
        r.insert(candidate, edited);
    model.save();
    return {.saves = 1};
}
