// Cell edits write the base entry's fields into every candidate language, so
// that the saved files carry the new key, value or comment in every language.
#include "cellediting.h"

#include "app/settings.h"
#include "model/log.h"
#include "model/projectmodel.h"

#include <QDebug>

namespace {

QString describe(const QVariant &value)
{
    QString text;
    QDebug(&text).nospace() << value;
    return text;
}

} // namespace

bool CellEditing::shouldEditTableColumn(const std::optional<QString> &column, int row)
{
    Q_UNUSED(row);
    if (!column)
        return true;
    return *column != QLatin1String("Status") && *column != QLatin1String("File");
}

CommandOutcome CellEditing::setObjectValue(ProjectModel &model, const QVariant &value,
                                           const std::optional<QString> &column, int row)
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
    const QStringList candidates = Settings::baseLanguageCandidates();
    const std::optional<Entry> base = ProjectModel::baseEntryOf(model.data.value(mk), candidates);
    if (!base)
        return {};

    Entry edited = *base;
    if (*column == QLatin1String("Key String")) {
        edited.key = newText;
    } else if (*column == QLatin1String("Value String")) {
        edited.value = newText;
    } else if (*column == QLatin1String("Comment")) {
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
