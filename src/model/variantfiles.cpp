// Plural and catalog files of a project: read into entries with variants, and
// the rows' changes carried back into the documents, which keep everything else.
#include "model/variantfiles.h"

#include "model/textfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

namespace {

const QString kTranslated = QStringLiteral("translated");

// What a language folder gets when a .stringsdict key first reaches it.
const QByteArray kEmptyStringsDict = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                     "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                     "<plist version=\"1.0\">\n<dict>\n</dict>\n</plist>\n";

std::optional<QByteArray> readBytes(const QString &path, QString *error)
{
    TextFile::Failure failure = TextFile::Failure::None;
    std::optional<QByteArray> bytes = TextFile::readBytes(path, &failure);
    if (!bytes)
        *error = TextFile::describe(failure);
    return bytes;
}

QList<EntryVariant> dictVariants(const StringsDictEntry &entry)
{
    QList<EntryVariant> variants;
    for (const StringsDictVariable &variable : entry.variables)
        for (const auto &[category, text] : variable.texts)
            variants.append({variable.name + u'/' + category, text, QString()});
    return variants;
}

QString rowKeyOf(const QString &key, const QString &fileName) { return key + u'-' + fileName; }

const EntryVariant *findPath(const QList<EntryVariant> &variants, const QString &path)
{
    for (const EntryVariant &variant : variants)
        if (variant.path == path)
            return &variant;
    return nullptr;
}

const Entry *baseIn(const Row &row, const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        const auto it = row.constFind(candidate);
        if (it != row.cend())
            return &*it;
    }
    return nullptr;
}

} // namespace

qsizetype VariantFiles::primaryIndex(const QList<EntryVariant> &variants)
{
    qsizetype best = -1;
    qsizetype bestSteps = 0;
    for (qsizetype i = 0; i < variants.size(); ++i) {
        const QString &path = variants.at(i).path;
        if (path.isEmpty())
            return i;
        if (!path.endsWith(QLatin1String("/other")))
            continue;
        const qsizetype steps = path.count(u'/');
        if (best < 0 || steps < bestSteps) {
            best = i;
            bestSteps = steps;
        }
    }
    return best >= 0 ? best : (variants.isEmpty() ? -1 : 0);
}

QList<EntryVariant> VariantFiles::effectiveVariants(const Entry &entry, const QList<EntryVariant> &shape,
                                                     bool catalog)
{
    if (!entry.variants.isEmpty()) {
        QList<EntryVariant> variants = entry.variants;
        EntryVariant &primary = variants[primaryIndex(variants)];
        if (primary.value != entry.value) {
            primary.value = entry.value;
            if (catalog)
                primary.state = kTranslated;
        }
        return variants;
    }
    if (shape.isEmpty())
        return catalog ? QList<EntryVariant>{{QString(), entry.value, kTranslated}} : QList<EntryVariant>();
    return {{shape.at(primaryIndex(shape)).path, entry.value, catalog ? kTranslated : QString()}};
}

void VariantFiles::storeText(Row &row, const QString &language, Entry entry)
{
    const auto own = row.find(language);
    if (own != row.end() && !own->variants.isEmpty())
        own->value = std::move(entry.value);
    else
        row.insert(language, std::move(entry));
}

Entry VariantFiles::machineTranslated(const QString &rowKey, Entry entry, const Entry &base)
{
    if (!isCatalog(rowKey))
        return entry;
    entry.variants = effectiveVariants(entry, base.variants, true);
    entry.variants.first().state = QStringLiteral("needs_review");
    return entry;
}

QString VariantFiles::label(const QString &path, bool catalog, int variables)
{
    const QStringList steps = path.split(u'/', Qt::SkipEmptyParts);
    QStringList shown;
    if (catalog) {
        for (qsizetype i = 1; i < steps.size(); i += 2)
            shown << steps.at(i);
    } else {
        shown = steps;
        if (variables <= 1 && shown.size() > 1)
            shown.removeFirst();
    }
    return shown.join(QStringLiteral(" · "));
}

bool VariantFiles::loadStringsDict(const QString &path, const QString &language, const QString &fileName,
                                   QList<Entry> *entries, QString *error)
{
    const std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return false;
    std::optional<StringsDictDocument> document = StringsDictDocument::parse(*bytes, error);
    if (!document)
        return false;
    for (const StringsDictEntry &dictEntry : document->entries()) {
        Entry entry{dictEntry.key, QString(), std::nullopt, dictVariants(dictEntry)};
        const qsizetype primary = primaryIndex(entry.variants);
        if (primary >= 0)
            entry.value = entry.variants.at(primary).value;
        entries->append(std::move(entry));
    }
    m_dicts.append({path, language, fileName, std::move(document), *bytes});
    return true;
}

bool VariantFiles::loadCatalog(const QString &path, const QString &fileName, QStringList *languages,
                               QList<std::pair<QString, Entry>> *keyedEntries, QString *error)
{
    const std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return false;
    std::optional<StringCatalogDocument> document = StringCatalogDocument::parse(*bytes, error);
    if (!document)
        return false;
    *languages = document->languages();
    for (const CatalogKey &catalogKey : document->entries()) {
        if (catalogKey.keyIsSourceText)
            keyedEntries->append({document->sourceLanguage(),
                                  Entry{catalogKey.key, catalogKey.key, catalogKey.comment, {}}});
        for (const CatalogLocalization &localization : catalogKey.localizations) {
            // A localization of substitutions only has no text of its own to show.
            if (localization.units.isEmpty())
                continue;
            Entry entry{catalogKey.key, QString(), catalogKey.comment, {}};
            for (const CatalogUnit &unit : localization.units)
                entry.variants.append({unit.path, unit.value, unit.state});
            entry.value = entry.variants.at(primaryIndex(entry.variants)).value;
            keyedEntries->append({localization.language, std::move(entry)});
        }
    }
    m_catalogs.append({path, fileName, std::move(document), *bytes});
    return true;
}

QStringList VariantFiles::fileNames() const
{
    QStringList names;
    for (const DictFile &dict : m_dicts)
        if (!names.contains(dict.fileName))
            names << dict.fileName;
    for (const CatalogFile &catalog : m_catalogs)
        names << catalog.fileName;
    return names;
}

bool VariantFiles::applyToDict(StringsDictDocument &document, const QString &fileName, const QString &language,
                               const QHash<QString, Row> &data, const QStringList &rowKeys,
                               const QStringList &candidates) const
{
    bool ok = true;
    for (const QString &key : document.keys()) {
        const auto row = data.constFind(rowKeyOf(key, fileName));
        if (row == data.cend() || !row->contains(language))
            document.removeKey(key);
    }
    for (const QString &rowKey : rowKeys) {
        const auto row = data.constFind(rowKey);
        if (row == data.cend())
            continue;
        const auto found = row->constFind(language);
        if (found == row->cend())
            continue;
        const QString key = rowKey.chopped(fileName.size() + 1);
        const Entry *base = baseIn(*row, candidates);
        const QList<EntryVariant> desired =
            effectiveVariants(*found, base ? base->variants : found->variants, false);
        const std::optional<StringsDictEntry> current = document.entry(key);
        if (!current) {
            // The shape (format, variables, value types) comes from the entry
            // of another language that has the key.
            std::optional<StringsDictEntry> shape;
            QStringList order;
            for (const DictFile &other : m_dicts) {
                if (other.fileName != fileName || !other.document)
                    continue;
                if (std::optional<StringsDictEntry> entry = other.document->entry(key)) {
                    const auto own = row->constFind(other.language);
                    const bool preferred = base && own != row->cend() && &*own == base;
                    if (!shape || preferred) {
                        shape = entry;
                        order = other.document->keys();
                    }
                }
            }
            if (!shape || desired.isEmpty()) {
                ok = false;
                continue;
            }
            for (StringsDictVariable &variable : shape->variables) {
                const QList<std::pair<QString, QString>> fallback = variable.texts;
                variable.texts.clear();
                for (const EntryVariant &variant : desired)
                    if (variant.path.startsWith(variable.name + u'/'))
                        variable.texts.append({variant.path.section(u'/', 1), variant.value});
                if (variable.texts.isEmpty()) {
                    for (const auto &text : fallback)
                        if (text.first == QLatin1String("other"))
                            variable.texts.append(text);
                }
            }
            ok = document.addKey(*shape, order) && ok;
            continue;
        }
        const QList<EntryVariant> now = dictVariants(*current);
        for (const EntryVariant &variant : desired) {
            const EntryVariant *old = findPath(now, variant.path);
            if (!old || old->value != variant.value)
                ok = document.setText(key, variant.path.section(u'/', 0, 0), variant.path.section(u'/', 1),
                                      variant.value)
                     && ok;
        }
        for (const EntryVariant &variant : now)
            if (!findPath(desired, variant.path))
                document.removeCategory(key, variant.path.section(u'/', 0, 0), variant.path.section(u'/', 1));
    }
    return ok;
}

void VariantFiles::applyToCatalog(StringCatalogDocument &document, const QString &fileName,
                                  const QStringList &languages, const QHash<QString, Row> &data,
                                  const QStringList &candidates)
{
    // A cell edit gives every base candidate an entry; a catalog has no Base
    // localization of its own, so one is never made up for it.
    const bool catalogHasBase = document.languages().contains(QStringLiteral("Base"));
    for (const QString &key : document.keys()) {
        const auto row = data.constFind(rowKeyOf(key, fileName));
        if (row == data.cend()) {
            document.removeKey(key);
            continue;
        }
        const std::optional<CatalogKey> catalogKey = document.entry(key);
        if (!catalogKey)
            continue;
        const Entry *base = baseIn(*row, candidates);
        for (const QString &language : languages) {
            if (languages.indexOf(language) != languages.lastIndexOf(language)
                || (language == QLatin1String("Base") && !catalogHasBase))
                continue;
            QList<CatalogUnit> now;
            for (const CatalogLocalization &localization : catalogKey->localizations)
                if (localization.language == language)
                    now = localization.units;
            const auto found = row->constFind(language);
            if (found == row->cend()) {
                for (const CatalogUnit &unit : std::as_const(now))
                    document.removeUnit(key, language, unit.path);
                continue;
            }
            // The key standing in for a missing source text is not a unit.
            if (found->variants.isEmpty() && now.isEmpty() && language == document.sourceLanguage()
                && catalogKey->keyIsSourceText && found->value == key)
                continue;
            const QList<EntryVariant> desired =
                effectiveVariants(*found, base ? base->variants.list() : QList<EntryVariant>(), true);
            for (const EntryVariant &variant : desired) {
                const CatalogUnit *old = nullptr;
                for (const CatalogUnit &unit : std::as_const(now))
                    if (unit.path == variant.path)
                        old = &unit;
                if (old && old->value == variant.value && old->state == variant.state)
                    continue;
                QString state = variant.state;
                if (state.isEmpty() || (old && old->value != variant.value && state == old->state))
                    state = kTranslated;
                document.setUnit(key, language, variant.path, variant.value, state);
            }
            for (const CatalogUnit &unit : std::as_const(now))
                if (!findPath(desired, unit.path))
                    document.removeUnit(key, language, unit.path);
        }
    }
}

QList<std::pair<QString, QString>> VariantFiles::save(const QHash<QString, Row> &data,
                                                      const QHash<QString, QStringList> &rowKeysByFile,
                                                      const QStringList &languages,
                                                      const QStringList &candidates,
                                                      const std::function<QString(const QString &)> &folderFor)
{
    QList<std::pair<QString, QString>> failures;
    QSet<QString> problemPaths;
    for (const VariantFileProblem &problem : std::as_const(m_problems))
        problemPaths.insert(problem.path);

    // Languages whose folder has no such file yet, but whose rows now hold
    // entries of it.
    QSet<QString> dictNames;
    QSet<std::pair<QString, QString>> present;
    for (const DictFile &dict : std::as_const(m_dicts)) {
        dictNames.insert(dict.fileName);
        present.insert({dict.language, dict.fileName});
    }
    for (const QString &fileName : std::as_const(dictNames)) {
        for (const QString &language : languages) {
            if (present.contains({language, fileName}))
                continue;
            const QStringList rowKeys = rowKeysByFile.value(fileName);
            const bool wanted = std::any_of(rowKeys.cbegin(), rowKeys.cend(), [&](const QString &rowKey) {
                const auto row = data.constFind(rowKey);
                return row != data.cend() && row->contains(language);
            });
            if (!wanted)
                continue;
            const QString folder = folderFor(language);
            const QString path = folder + u'/' + fileName;
            if (!QFileInfo(folder).isDir()) {
                failures.append({path, QCoreApplication::translate("ProjectModel", "its folder does not exist")});
                continue;
            }
            if (QFileInfo::exists(path) || problemPaths.contains(path)) {
                // What stands there was not read: it is never replaced.
                failures.append({path, QCoreApplication::translate("ProjectModel", "not a regular file")});
                for (const VariantFileProblem &problem : std::as_const(m_problems))
                    if (problem.path == path)
                        failures.last().second =
                            QCoreApplication::translate("ProjectModel", "changes not written: %1").arg(problem.reason);
                continue;
            }
            QString error;
            m_dicts.append({path, language, fileName, StringsDictDocument::parse(kEmptyStringsDict, &error),
                            QByteArray()});
            present.insert({language, fileName});
        }
    }

    const auto write = [&failures](const QString &path, const QByteArray &bytes, QByteArray &onDisk) {
        if (bytes == onDisk)
            return;
        if (TextFile::writeBytes(path, bytes))
            onDisk = bytes;
        else
            failures.append({path, QCoreApplication::translate("ProjectModel", "could not be written")});
    };
    for (DictFile &dict : m_dicts) {
        if (!dict.document)
            continue;
        const bool applied = applyToDict(*dict.document, dict.fileName, dict.language, data,
                                         rowKeysByFile.value(dict.fileName), candidates);
        write(dict.path, dict.document->serialize(), dict.bytes);
        if (!applied)
            failures.append({dict.path, QCoreApplication::translate("ProjectModel", "some texts could not be written")});
    }
    for (CatalogFile &catalog : m_catalogs) {
        if (!catalog.document)
            continue;
        applyToCatalog(*catalog.document, catalog.fileName, languages, data, candidates);
        write(catalog.path, catalog.document->serialize(), catalog.bytes);
    }
    return failures;
}
