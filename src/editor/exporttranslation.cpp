// Export of untranslated base texts.
#include "exporttranslation.h"

#include "model/projectmodel.h"
#include "model/heldtext.h"
#include "model/stringswriter.h"
#include "model/textfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

QString ExportTranslation::exportText(const ProjectModel &model, const QStringList &candidates)
{
    struct Item
    {
        QString lower;
        QString key;
    };
    QList<Item> items;
    items.reserve(model.data.size());
    for (auto it = model.data.cbegin(); it != model.data.cend(); ++it)
        items.append({it.key().toLower(), it.key()});
    // Row keys equal once lower-cased keep a repeatable order by their own text.
    std::sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
        return a.lower != b.lower ? a.lower < b.lower : a.key < b.key;
    });

    const QStringList counted = model.countedLanguages();
    QString out;
    for (const Item &item : items) {
        const auto row = model.data.constFind(item.key);
        if (ProjectModel::hasEveryLanguage(row.value(), counted))
            continue;
        const std::optional<Entry> base = ProjectModel::baseEntryOf(row.value(), candidates);
        if (!base)
            continue;
        // Escaped as a save writes it, so that the file reads back as the
        // texts the project holds; a .txt row holds its text unescaped.
        const bool txt = ProjectModel::isTxtRowKey(item.key);
        Entry written = *base;
        if (txt)
            written.value = HeldText::fromPlain(written.value);
        StringsWriter::appendBlock(out, written, !txt);
    }
    return out;
}

bool ExportTranslation::exportTranslation(const ProjectModel &model, const QString &path,
                                          QString *error)
{
    // The atomic write renames a new file over the target, which would put a
    // regular file in place of a device or a pipe (as root even /dev/full).
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        if (error)
            *error = (target.isDir()
                          ? QCoreApplication::translate("ExportTranslation", "%1 is a folder, not a file")
                          : QCoreApplication::translate("ExportTranslation", "%1 is not a regular file"))
                         .arg(path);
        return false;
    }
    if (!TextFile::write(path, exportText(model, model.candidates()))) {
        if (error)
            *error = QCoreApplication::translate("ExportTranslation", "cannot write %1").arg(path);
        return false;
    }
    return true;
}
