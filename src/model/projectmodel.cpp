// The project model: loading language folders into rows, saving every file of
// every language, status texts, cell texts, the row order and the filter.
#include "projectmodel.h"

#include "app/settings.h"
#include "memory/languages.h"
#include "model/log.h"
#include "model/stringsreader.h"
#include "model/stringswriter.h"
#include "model/textfile.h"
#include "model/textorder.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <memory>
#include <numeric>
#include <unicode/ucol.h>

namespace {

const QString kKeyColumn = QStringLiteral("Key String");
const QString kValueColumn = QStringLiteral("Value String");
const QString kCommentColumn = QStringLiteral("Comment");
const QString kStatusColumn = QStringLiteral("Status");
const QString kFileColumn = QStringLiteral("File");

const QString kLprojSuffix = QStringLiteral(".lproj");
const QString kStringsSuffix = QStringLiteral(".strings");
const QString kTxtSuffix = QStringLiteral(".txt");

QStringList settingsCandidates() { return Settings().baseLanguageCandidates(); }

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString rowKeyFor(const QString &key, const QString &fileName)
{
    return key + QLatin1Char('-') + fileName;
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

// The names directly inside a folder, hidden ones included, in name order;
// nothing when the folder cannot be listed.
QStringList listNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

bool hasLprojExtension(const QString &name)
{
    return name.size() > kLprojSuffix.size() && name.endsWith(kLprojSuffix);
}

// Whether the current locale can name the language of a bare folder name:
// Qt must resolve it to a language whose code is the name's leading part.
bool platformNamesLanguage(const QString &name)
{
    const QLocale locale(name);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return false;
    qsizetype end = 0;
    while (end < name.size() && name.at(end) != QLatin1Char('-') && name.at(end) != QLatin1Char('_'))
        ++end;
    const QString code = QLocale::languageToCode(locale.language());
    return !code.isEmpty() && code.compare(QStringView(name).left(end), Qt::CaseInsensitive) == 0
           && !QLocale::languageToString(locale.language()).isEmpty();
}

struct LoadTask
{
    QString language;
    QString path;
    QString fileName;
    bool txt = false;
};

struct LoadResult
{
    bool readable = false;
    bool blank = false;
    QList<Entry> entries;
};

LoadResult readTask(const LoadTask &task)
{
    LoadResult result;
    std::optional<QString> text = TextFile::read(task.path);
    if (!text)
        return result;
    result.readable = true;
    if (task.txt) {
        result.entries.append(Entry{task.fileName, std::move(*text), QString(QLatin1String(""))});
        return result;
    }
    if (isBlank(*text)) {
        result.blank = true;
        return result;
    }
    result.entries = StringsReader::parse(*text);
    return result;
}

// Row keys in the collation order of the current locale (ICU collator at its
// default strength). Equal sort keys fall back to code units, so the order is
// total and repeatable.
QStringList collationSorted(const QStringList &rowKeys)
{
    const QString localeName = QLocale().name();
    const QByteArray icuLocale = localeName == QLatin1String("C") ? QByteArray() : localeName.toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open(icuLocale.constData(), &status);
    if (U_FAILURE(status) || !collator) {
        QStringList sorted = rowKeys;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    std::vector<QByteArray> sortKeys(size_t(rowKeys.size()));
    for (qsizetype i = 0; i < rowKeys.size(); ++i) {
        const QString &text = rowKeys.at(i);
        const auto *chars = reinterpret_cast<const UChar *>(text.utf16());
        QByteArray &key = sortKeys[size_t(i)];
        key.resize(qMax<qsizetype>(64, text.size() * 4));
        int32_t needed = ucol_getSortKey(collator, chars, int32_t(text.size()),
                                         reinterpret_cast<uint8_t *>(key.data()), int32_t(key.size()));
        if (needed > key.size()) {
            key.resize(needed);
            needed = ucol_getSortKey(collator, chars, int32_t(text.size()),
                                     reinterpret_cast<uint8_t *>(key.data()), int32_t(key.size()));
        }
        key.resize(needed);
    }
    ucol_close(collator);
    std::vector<qsizetype> order(size_t(rowKeys.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = sortKeys[size_t(a)].compare(sortKeys[size_t(b)]);
        if (c != 0)
            return c < 0;
        return rowKeys.at(a) < rowKeys.at(b);
    });
    QStringList sorted;
    sorted.reserve(rowKeys.size());
    for (const qsizetype i : order)
        sorted << rowKeys.at(i);
    return sorted;
}

// The rows of one file as Save writes them: for .strings files the rows that
// have a base entry, in key order; for a .txt file its single row.
struct FilePlan
{
    QString fileName;
    bool txt = false;
    QList<const Row *> rows;
    QList<const Entry *> bases;
};

struct WriteTask
{
    QString path;
    QString language;
    const FilePlan *plan = nullptr;
};

void writeTask(const WriteTask &task)
{
    const FilePlan &plan = *task.plan;
    if (plan.txt) {
        const Row *row = plan.rows.value(0);
        if (!row || row->isEmpty())
            return;
        const auto it = row->constFind(task.language);
        if (it == row->cend())
            return;
        TextFile::write(task.path, it->value);
        return;
    }
    QString out;
    out.reserve(4096);
    out += QLatin1Char('\n');
    for (qsizetype i = 0; i < plan.rows.size(); ++i) {
        const Row &row = *plan.rows.at(i);
        const auto it = row.constFind(task.language);
        if (it == row.cend())
            continue;
        const Entry *base = plan.bases.at(i);
        StringsWriter::appendBlock(out, Entry{base->key, it->value, base->comment});
    }
    TextFile::write(task.path, out);
}

// What one row sorts by, computed once per refresh.
struct SortItem
{
    QString rowKey;
    QString text;
    bool comparable = true;
};

} // namespace

const QStringList &ProjectModel::columns()
{
    static const QStringList list{kKeyColumn, kValueColumn, kCommentColumn, kStatusColumn, kFileColumn};
    return list;
}

void ProjectModel::load()
{
    if (projectURL.isEmpty())
        return;
    const QString root = projectURL;
    const QStringList names = listNames(root);

    struct Folder
    {
        QString language;
        QString path;
    };
    QList<Folder> folders;
    for (const QString &name : names)
        if (hasLprojExtension(name))
            folders.append({name.chopped(kLprojSuffix.size()), joinPath(root, name)});
    for (const QString &name : names) {
        // An lproj folder was loaded by the first pass; loading it again under
        // its whole name ("pt-BR.lproj") would make Save write stale entries
        // over the first pass's file.
        if (hasLprojExtension(name))
            continue;
        const QStringList parts = name.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        if (!parts.isEmpty() && Languages::isKnownCode(parts.first()))
            folders.append({name, joinPath(root, name)});
    }
    if (folders.isEmpty()) {
        for (const QString &name : names) {
            const QString path = joinPath(root, name);
            if (QFileInfo(path).isDir() && platformNamesLanguage(name))
                folders.append({name, path});
        }
    }

    QList<LoadTask> tasks;
    for (const Folder &folder : std::as_const(folders)) {
        languages.append(folder.language);
        const QStringList files = listNames(folder.path);
        for (const QString &name : files)
            if (name.endsWith(kTxtSuffix))
                tasks.append({folder.language, joinPath(folder.path, name), name, true});
        for (const QString &name : files)
            if (name.endsWith(kStringsSuffix))
                tasks.append({folder.language, joinPath(folder.path, name), name, false});
    }

    // Files are read and parsed in parallel; the results are merged in listing
    // order, so the model and the log lines are those of a sequential load.
    const QList<LoadResult> results = QtConcurrent::blockingMapped(tasks, readTask);

    for (qsizetype t = 0; t < tasks.size(); ++t) {
        const LoadTask &task = tasks.at(t);
        const LoadResult &result = results.at(t);
        if (!result.readable) {
            if (!task.txt)
                Log::line(QStringLiteral("Can't read file @ ") + task.path);
            continue;
        }
        if (result.blank) {
            Log::line(QStringLiteral("Empty file for: ") + task.language);
            continue;
        }
        for (const Entry &parsed : result.entries) {
            Entry entry = parsed;
            const QString rowKey = task.txt ? rowKeyFor(task.fileName, task.fileName)
                                            : rowKeyFor(entry.key, task.fileName);
            Row &row = data[rowKey];
            // Languages mostly share a row's key and comment: share the text.
            if (!row.isEmpty()) {
                const Entry &first = row.first();
                if (first.key == entry.key)
                    entry.key = first.key;
                if (first.comment == entry.comment)
                    entry.comment = first.comment;
            }
            row.insert(task.language, std::move(entry));
            auto file = mapKeyToFile.find(rowKey);
            if (file == mapKeyToFile.end())
                mapKeyToFile.insert(rowKey, task.fileName);
            else if (*file != task.fileName)
                *file = task.fileName;
        }
    }
}

void ProjectModel::save() const
{
    if (languages.isEmpty() || projectURL.isEmpty())
        return;
    const QStringList candidates = settingsCandidates();

    QHash<QString, QStringList> rowKeysByFile;
    for (auto it = mapKeyToFile.cbegin(); it != mapKeyToFile.cend(); ++it)
        rowKeysByFile[it.value()].append(it.key());
    QStringList fileNames = rowKeysByFile.keys();
    std::sort(fileNames.begin(), fileNames.end());

    std::vector<std::unique_ptr<FilePlan>> plans;
    for (const QString &fileName : std::as_const(fileNames)) {
        auto plan = std::make_unique<FilePlan>();
        plan->fileName = fileName;
        if (fileName.endsWith(kTxtSuffix)) {
            plan->txt = true;
            const auto row = data.constFind(rowKeyFor(fileName, fileName));
            plan->rows.append(row == data.cend() ? nullptr : &row.value());
        } else if (fileName.endsWith(kStringsSuffix)) {
            for (const QString &rowKey : collationSorted(rowKeysByFile.value(fileName))) {
                const auto row = data.constFind(rowKey);
                if (row == data.cend() || row->isEmpty())
                    continue;
                const Entry *base = baseEntryIn(*row, candidates);
                if (!base)
                    continue;
                plan->rows.append(&row.value());
                plan->bases.append(base);
            }
        } else {
            continue;
        }
        plans.push_back(std::move(plan));
    }

    QList<WriteTask> tasks;
    for (const QString &language : languages) {
        const QString folder = languageFolderPath(language);
        for (const auto &plan : plans)
            tasks.append({joinPath(folder, plan->fileName), language, plan.get()});
    }
    // A path written twice (a language listed twice) keeps its last content,
    // as a sequential save would leave it; the writes can then run in parallel.
    QHash<QString, qsizetype> lastWrite;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        lastWrite.insert(tasks.at(i).path, i);
    QList<WriteTask> unique;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        if (lastWrite.value(tasks.at(i).path) == i)
            unique.append(tasks.at(i));
    QtConcurrent::blockingMap(unique, writeTask);
}

QString ProjectModel::languageFolderPath(const QString &language) const
{
    const QString lproj = joinPath(projectURL, language + kLprojSuffix);
    const QFileInfo info(lproj);
    if (info.exists() || info.isSymLink())
        return lproj;
    return joinPath(projectURL, language);
}

const Entry *ProjectModel::baseEntryIn(const Row &row, const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        const auto it = row.constFind(candidate);
        if (it != row.cend())
            return &it.value();
    }
    return nullptr;
}

std::optional<Entry> ProjectModel::baseEntryOf(const Row &row, const QStringList &candidates)
{
    if (const Entry *entry = baseEntryIn(row, candidates))
        return *entry;
    return std::nullopt;
}

std::optional<Entry> ProjectModel::baseEntry(const QString &rowKey) const
{
    const auto row = data.constFind(rowKey);
    if (row == data.cend())
        return std::nullopt;
    return baseEntryOf(*row, settingsCandidates());
}

QString ProjectModel::statusTextOf(const Row *row, const QStringList &languages,
                                   const QStringList &candidates)
{
    if (!row)
        return QStringLiteral("!");
    QStringList missing;
    for (const QString &language : languages)
        if (!row->contains(language))
            missing.append(language);
    if (!missing.isEmpty()) {
        TextOrder::sortByCodePoints(missing);
        return QStringLiteral("Missing: ") + missing.join(QStringLiteral(", "));
    }
    int same = 0;
    if (const Entry *base = baseEntryIn(*row, candidates)) {
        for (const Entry &entry : *row)
            if (entry.value == base->value)
                ++same;
    }
    return QStringLiteral("OK (") + QString::number(same) + QLatin1Char(')');
}

QString ProjectModel::statusText(const QString &rowKey) const
{
    return statusText(rowKey, settingsCandidates());
}

QString ProjectModel::statusText(const QString &rowKey, const QStringList &candidates) const
{
    const auto row = data.constFind(rowKey);
    return statusTextOf(row == data.cend() ? nullptr : &row.value(), languages, candidates);
}

QString ProjectModel::cellText(int index, const QString &column) const
{
    return cellText(index, column, settingsCandidates());
}

QString ProjectModel::cellText(int index, const QString &column, const QStringList &candidates) const
{
    if (!columns().contains(column)) {
        Log::line(column + QStringLiteral(": We shouldn't be here"));
        return {};
    }
    if (index < 0 || index >= keys.size())
        return {};
    const QString &rowKey = keys.at(index);
    if (column == kStatusColumn)
        return statusText(rowKey, candidates);
    if (column == kFileColumn)
        return mapKeyToFile.value(rowKey);
    const auto row = data.constFind(rowKey);
    const Entry *base = row == data.cend() ? nullptr : baseEntryIn(*row, candidates);
    if (!base)
        return {};
    if (column == kKeyColumn)
        return base->key;
    if (column == kValueColumn)
        return base->value;
    return base->comment.value_or(QString());
}

bool ProjectModel::lessThan(const QString &a, const QString &b, const SortDescriptor &sort,
                            const QStringList &candidates) const
{
    int c = 0;
    if (sort.key == kKeyColumn) {
        c = TextOrder::compareCodePoints(TextOrder::sortFold(a), TextOrder::sortFold(b));
    } else if (sort.key == kValueColumn) {
        const auto ra = data.constFind(a);
        const auto rb = data.constFind(b);
        const Entry *ba = ra == data.cend() ? nullptr : baseEntryIn(*ra, candidates);
        const Entry *bb = rb == data.cend() ? nullptr : baseEntryIn(*rb, candidates);
        if (!ba || !bb)
            return false;
        c = TextOrder::compareCodePoints(TextOrder::sortFold(ba->value), TextOrder::sortFold(bb->value));
    } else if (sort.key == kStatusColumn) {
        c = TextOrder::compareNumeric(statusText(a, candidates).toLower(),
                                      statusText(b, candidates).toLower());
    } else {
        return false;
    }
    return sort.ascending ? c < 0 : c > 0;
}

void ProjectModel::rebuildKeys(const SortDescriptor &sort, bool hideTranslated)
{
    rebuildKeys(sort, hideTranslated, settingsCandidates());
}

void ProjectModel::rebuildKeys(const SortDescriptor &sort, bool hideTranslated,
                               const QStringList &candidates)
{
    // The comparison leaves ties unordered; starting from code-unit order makes
    // the stable sort's result repeatable.
    QStringList all = data.keys();
    std::sort(all.begin(), all.end());

    std::vector<SortItem> items;
    items.reserve(size_t(all.size()));
    const bool byKey = sort.key == kKeyColumn;
    const bool byValue = sort.key == kValueColumn;
    const bool byStatus = sort.key == kStatusColumn;
    for (const QString &rowKey : std::as_const(all)) {
        SortItem item{rowKey, {}, true};
        if (byKey) {
            item.text = TextOrder::sortFold(rowKey);
        } else if (byValue) {
            const Entry *base = baseEntryIn(data.value(rowKey), candidates);
            item.comparable = base != nullptr;
            if (base)
                item.text = TextOrder::sortFold(base->value);
        } else if (byStatus) {
            item.text = statusText(rowKey, candidates).toLower();
        }
        items.push_back(std::move(item));
    }

    const bool ascending = sort.ascending;
    if (byKey || byValue) {
        // Rows without a base value compare with nothing; they keep their
        // order after the sorted ones, which keeps the sort well defined.
        const auto comparableEnd = std::stable_partition(items.begin(), items.end(),
                                                         [](const SortItem &i) { return i.comparable; });
        std::stable_sort(items.begin(), comparableEnd, [ascending](const SortItem &a, const SortItem &b) {
            const int c = TextOrder::compareCodePoints(a.text, b.text);
            return ascending ? c < 0 : c > 0;
        });
    } else if (byStatus) {
        std::stable_sort(items.begin(), items.end(), [ascending](const SortItem &a, const SortItem &b) {
            const int c = TextOrder::compareNumeric(a.text, b.text);
            return ascending ? c < 0 : c > 0;
        });
    }

    keys.clear();
    keys.reserve(qsizetype(items.size()));
    for (const SortItem &item : items) {
        if (hideTranslated && statusText(item.rowKey, candidates).startsWith(QLatin1String("OK")))
            continue;
        keys.append(item.rowKey);
    }
}

void ProjectModel::refresh(const SortDescriptor &sort)
{
    const Settings settings;
    rebuildKeys(sort, settings.boolValue(Settings::HideTranslated), settings.baseLanguageCandidates());
}

QString ProjectModel::title() const
{
    return QString::number(keys.size()) + QStringLiteral(" - ") + projectURL;
}
