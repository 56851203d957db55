// The project model's side of plural and catalog files: loading their entries
// into rows beside those of the .strings files, and saving them.
#include "model/projectmodel.h"

#include "common/log.h"
#include "model/projectfiles.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace ProjectFiles;

namespace {

// The names in a folder's listing that end in the suffix, folders left out.
QStringList filesEndingIn(const QString &folder, const QStringList &names, const QString &suffix)
{
    QStringList files;
    for (const QString &name : names)
        if (name.endsWith(suffix) && name.size() > suffix.size() &&
            !QFileInfo(joinPath(folder, name)).isDir())
            files << name;
    return files;
}

} // namespace

void ProjectModel::loadVariants(const QList<ListedFolder> &folders, const QStringList &rootNames)
{
    const auto store = [this](const QString &language, const QString &fileName, Entry &&entry) {
        const QString rowKey = rowKeyFor(entry.key, fileName);
        auto row = data.find(rowKey);
        if (row == data.end()) {
            row = data.emplace(rowKey, Row());
            mapKeyToFile.insert(rowKey, fileName);
        }
        row->insert(language, std::move(entry));
    };
    const auto keep = [this](const QString &path, const QString &language, const QString &fileName,
                             const QString &error) {
        const QString reason = QCoreApplication::translate("ProjectModel", "cannot be read (%1)").arg(error);
        Log::line(QStringLiteral("Not rewriting ") + path + QStringLiteral(": ") + reason);
        keptFiles.insert(path, KeptFile{reason, language, fileName, 0});
        variantFiles.addProblem({path, language, fileName, reason});
    };

    for (const auto &[language, folder, names] : folders) {
        if (keptFolders.contains(folder))
            continue;
        for (const QString &fileName :
             filesEndingIn(folder, names, VariantFiles::StringsDictSuffix)) {
            const QString path = joinPath(folder, fileName);
            QList<Entry> entries;
            QString error;
            if (!variantFiles.loadStringsDict(path, language, fileName, &entries, &error)) {
                keep(path, language, fileName, error);
                continue;
            }
            for (Entry &entry : entries)
                store(language, fileName, std::move(entry));
        }
    }
    for (const QString &fileName :
         filesEndingIn(projectURL, rootNames, VariantFiles::CatalogSuffix)) {
        const QString path = joinPath(projectURL, fileName);
        QStringList catalogLanguages;
        QList<std::pair<QString, Entry>> entries;
        QString error;
        if (!variantFiles.loadCatalog(path, fileName, &catalogLanguages, &entries, &error)) {
            keep(path, QString(), fileName, error);
            continue;
        }
        for (const QString &language : std::as_const(catalogLanguages))
            if (!languages.contains(language))
                languages.append(language);
        for (auto &[language, entry] : entries)
            store(language, fileName, std::move(entry));
    }
}

void ProjectModel::saveVariants(SaveReport &report, const QHash<QString, FileRows> &rowsByFile)
{
    // Only the variant files' row keys are handed on: a large project's
    // others would be copied for nothing.
    QHash<QString, QStringList> rowKeysByFile;
    for (const QString &fileName : variantFiles.fileNames()) {
        const auto rows = rowsByFile.constFind(fileName);
        if (rows == rowsByFile.cend())
            continue;
        QStringList &keys = rowKeysByFile[fileName];
        for (const QString *key : rows->rowKeys)
            keys.append(*key);
    }
    const auto failures = variantFiles.save(data, rowKeysByFile, languages, candidates(),
                                            [this](const QString &language) { return languageFolderPath(language); });
    for (const auto &[path, reason] : failures)
        report.notWritten.append({path, reason});
}
