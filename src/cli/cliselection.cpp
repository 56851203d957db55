// Project loading and row selection shared by the editing commands.
#include "cliselection.h"

#include "cli/cliargs.h"

#include <algorithm>

void CliSelection::load(ProjectModel &model, const QString &root)
{
    loadProject(model, root);
    model.rebuildKeys(SortDescriptor{}, false);
}

QList<int> CliSelection::indexesOf(const ProjectModel &model, const QStringList &rowKeys)
{
    QList<int> indexes;
    for (const QString &rowKey : rowKeys) {
        const qsizetype index = model.keys.indexOf(rowKey);
        if (index < 0)
            throw CliError{QStringLiteral("no such row key: %1").arg(rowKey)};
        indexes << int(index);
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}
