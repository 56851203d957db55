// The project model: loading language folders into rows, saving every file of
// every language, status texts, cell texts, the row order and the filter.
#include "projectmodel.h"

#include "common/languages.h"
#include "model/heldtext.h"
#include "common/log.h"
#include "model/stringscontent.h"
#include "model/stringswriter.h"
#include "model/textfile.h"
#include "model/textorder.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <map>
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
    int languageIndex = 0; // into the languages found by this load
    QString language;
    QString path;
    QString fileName;
    bool txt = false;
};

// One file's entries, and the merge shard of each entry's row key.
struct LoadResult
{
    bool readable = false;
    bool blank = false;
    TextFile::Failure failure = TextFile::Failure::None;
    // Set when the file holds text its entries do not cover.
    QString problem;
    std::vector<Entry> entries;
    std::vector<quint8> shards;
};

struct LoadJob
{
    LoadTask task;
    LoadResult result;
};

int mergeShardCount()
{
    return std::clamp(QThreadPool::globalInstance()->maxThreadCount(), 1, 16);
}

// Runs the function over the range on the thread pool, or right here when the
// work is too small to pay for waking threads: a small project loads and
// saves in a fraction of the time a hand-off costs.
template<typename Iterator, typename Function>
void forEach(Iterator begin, Iterator end, bool parallel, Function function)
{
    if (parallel)
        QtConcurrent::blockingMap(begin, end, function);
    else
        std::for_each(begin, end, function);
}

// FNV-1a over the row key's text (key, "-", file name) without building it:
// equal row keys get equal hashes, however key and file name split them.
quint32 rowKeyHash(QStringView key, QStringView fileName)
{
    quint32 h = 2166136261u;
    const auto add = [&h](char16_t c) {
        h = (h ^ (c & 0xFF)) * 16777619u;
        h = (h ^ (c >> 8)) * 16777619u;
    };
    for (const QChar c : key)
        add(c.unicode());
    add(u'-');
    for (const QChar c : fileName)
        add(c.unicode());
    return h;
}

void readJob(LoadJob &job, int shardCount)
{
    const LoadTask &task = job.task;
    LoadResult &result = job.result;
    std::optional<DecodedText> decoded = TextFile::readDecoded(task.path, &result.failure);
    if (!decoded)
        return;
    std::optional<QString> text = std::move(decoded->text);
    result.readable = true;
    if (task.txt) {
        result.entries.push_back(Entry{task.fileName, std::move(*text), QString(QLatin1String(""))});
    } else if (isBlank(*text)) {
        result.blank = true;
        return;
    } else {
        StringsContent content = StringsContent::read(*text);
        text.reset();
        if (!content.complete)
            result.problem = content.problem;
        result.entries.assign(std::make_move_iterator(content.entries.begin()),
                              std::make_move_iterator(content.entries.end()));
        // One key may be spelled several ways ("caf\U00e9", "café"); a row
        // must stand for the key, or two rows would write the same key into
        // one file and a property-list reader would keep only the last. Keys
        // with escapes are held in the one spelling HeldText gives them.
        for (Entry &entry : result.entries)
            if (entry.key.contains(u'\\'))
                entry.key = HeldText::fromPlain(HeldText::toPlain(entry.key));
    }
    result.shards.reserve(result.entries.size());
    for (const Entry &entry : result.entries)
        result.shards.push_back(quint8(rowKeyHash(entry.key, task.fileName) % uint(shardCount)));
}

// A row being merged: its entries in the order they were stored (a later one
// for the same language wins), each with the index of its language, and the
// load job that stored it last (whose file name the row gets). Rows are turned
// into maps only at the end, so each map is built from sorted input in one go
// instead of by lookups that miss the cache at every node.
struct RowBuild
{
    std::vector<std::pair<int, Entry>> entries;
    qsizetype lastJob = -1;
};

// languages: per merge shard, private copies of the language names, so that
// threads never share a reference count; ranks: each name's place in the
// order of a row's map (equal names, equal ranks).
Row toRow(std::vector<std::pair<int, Entry>> &entries, const QStringList &languages, const std::vector<int> &ranks)
{
    const auto byLanguage = [&ranks](const std::pair<int, Entry> &a, const std::pair<int, Entry> &b) {
        return ranks[size_t(a.first)] < ranks[size_t(b.first)];
    };
    if (!std::is_sorted(entries.begin(), entries.end(), byLanguage))
        std::stable_sort(entries.begin(), entries.end(), byLanguage);
    std::map<QString, Entry> row;
    for (auto &[language, entry] : entries) {
        const QString &name = languages.at(language);
        auto it = row.emplace_hint(row.end(), name, Entry{});
        // emplace_hint keeps an existing element: the later entry must win.
        it->second = std::move(entry);
    }
    return Row(std::move(row));
}

std::vector<int> languageRanks(const QStringList &languages)
{
    QStringList sorted = languages;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<int> ranks;
    ranks.reserve(size_t(languages.size()));
    for (const QString &name : languages)
        ranks.push_back(int(std::lower_bound(sorted.begin(), sorted.end(), name) - sorted.begin()));
    return ranks;
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

// The project's distinct language names, and the same names in the order of
// a row's map, for walking a row and the languages side by side.
struct LanguageTable
{
    QStringList names;            // distinct, in `languages` order
    QStringList sorted;           // the same, in map key order
    std::vector<int> sortedToName; // index into names for each of sorted
};

LanguageTable languageTable(const QStringList &languages)
{
    LanguageTable table;
    for (const QString &language : languages)
        if (!table.names.contains(language))
            table.names.append(language);
    table.sorted = table.names;
    std::sort(table.sorted.begin(), table.sorted.end());
    for (const QString &name : std::as_const(table.sorted))
        table.sortedToName.push_back(int(table.names.indexOf(name)));
    return table;
}

// The rows of one file as Save writes them (for .strings files every row with
// an entry, in key order; for a .txt file its single row), with each row's
// entry per language looked up once, rather than once per language file.
struct FilePlan
{
    QString fileName;
    bool txt = false;
    QStringList rowKeys;
    QList<const Entry *> bases; // null for a row without a base entry
    // Each row's block up to its value for rows with a base entry: the base
    // entry's comment and key are escaped once per save instead of once per
    // language. Rows without one are written with each language's own key
    // and comment.
    QStringList blockHeads;
    std::vector<const Entry *> cells; // row-major: bases.size() x language count

    void build(const QHash<QString, Row> &data, const QStringList &candidates, const LanguageTable &languages,
               qsizetype blockTailSize)
    {
        const qsizetype count = languages.names.size();
        QList<const Row *> rows;
        if (txt) {
            const auto row = data.constFind(rowKeyFor(fileName, fileName));
            if (row != data.cend() && !row->isEmpty()) {
                rows.append(&row.value());
                bases.append(nullptr);
            }
        } else {
            for (const QString &rowKey : collationSorted(rowKeys)) {
                const auto row = data.constFind(rowKey);
                if (row == data.cend() || row->isEmpty())
                    continue;
                const Entry *base = ProjectModel::baseEntryIn(*row, candidates);
                rows.append(&row.value());
                bases.append(base);
                blockHeads.append(base ? blockHead(*base, blockTailSize) : QString());
            }
        }
        cells.assign(size_t(rows.size() * count), nullptr);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            qsizetype j = 0;
            for (auto it = rows.at(r)->cbegin(); it != rows.at(r)->cend() && j < count; ++it) {
                while (j < count && languages.sorted.at(j) < it.key())
                    ++j;
                if (j < count && languages.sorted.at(j) == it.key())
                    cells[size_t(r * count + languages.sortedToName[size_t(j)])] = &it.value();
            }
        }
    }

    static QString blockHead(const Entry &entry, qsizetype blockTailSize)
    {
        QString head;
        StringsWriter::appendBlock(head, Entry{entry.key, QString(), entry.comment});
        head.chop(blockTailSize);
        return head;
    }

    const Entry *cell(qsizetype row, int language, qsizetype languageCount) const
    {
        return cells[size_t(row * languageCount + language)];
    }
};

struct WriteTask
{
    QString path;
    int language = 0; // index into LanguageTable::names
    const FilePlan *plan = nullptr;
};

// Whether the writer's value escaping can change the text: only entities,
// double quotes and line terminators are rewritten. Most values hold none, and
// skipping the escaper for them spares a copy of every value on every save.
bool valueNeedsEscaping(QStringView value)
{
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&': case u'"': case u'\\': case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028:
        case 0x2029:
            return true;
        default:
            break;
        }
    }
    return false;
}

// What the writer appends after an entry's escaped value.
QString blockTail()
{
    QString withoutValue;
    StringsWriter::appendBlock(withoutValue, Entry{QStringLiteral("k"), QString(), std::nullopt});
    QString withValue;
    StringsWriter::appendBlock(withValue, Entry{QStringLiteral("k"), QStringLiteral("v"), std::nullopt});
    qsizetype common = 0;
    while (common < withoutValue.size() && withoutValue.at(common) == withValue.at(common))
        ++common;
    return withoutValue.mid(common);
}

// What a task would write, and whether anything is in it: no entry for the
// task's language gives false (and for a .txt file no content at all).
bool renderTask(const WriteTask &task, qsizetype languageCount, const QString &tail, QString &out)
{
    const FilePlan &plan = *task.plan;
    if (plan.txt) {
        const Entry *entry = plan.bases.isEmpty() ? nullptr : plan.cell(0, task.language, languageCount);
        if (entry)
            out = entry->value;
        return entry != nullptr;
    }
    out.reserve(4096);
    out += QLatin1Char('\n');
    bool any = false;
    for (qsizetype i = 0; i < plan.bases.size(); ++i) {
        const Entry *entry = plan.cell(i, task.language, languageCount);
        if (!entry)
            continue;
        any = true;
        if (plan.bases.at(i))
            out += plan.blockHeads.at(i);
        else
            out += FilePlan::blockHead(*entry, tail.size());
        if (valueNeedsEscaping(entry->value))
            out += StringsWriter::escapeValue(entry->value);
        else
            out += entry->value;
        out += tail;
    }
    return any;
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
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath() + QLatin1Char('/');
    // Links may lead anywhere; what they lead to outside the root is read,
    // never written.
    const auto withinRoot = [&canonicalRoot](const QString &path) {
        const QString target = QFileInfo(path).canonicalFilePath();
        return target.isEmpty() || target.startsWith(canonicalRoot);
    };

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
    for (int f = 0; f < folders.size(); ++f) {
        const Folder &folder = folders.at(f);
        languages.append(folder.language);
        const QFileInfo info(folder.path);
        if (info.isDir() && !(info.isReadable() && info.isExecutable())) {
            // Its files were not read: writing them would replace what the
            // project holds with nothing.
            Log::line(QStringLiteral("Can't list folder @ ") + folder.path);
            keptFolders.insert(folder.path, QStringLiteral("the folder cannot be read"));
            continue;
        }
        const QStringList files = listNames(folder.path);
        for (const QString &name : files)
            if (name.endsWith(kTxtSuffix))
                tasks.append({f, folder.language, joinPath(folder.path, name), name, true});
        for (const QString &name : files)
            if (name.endsWith(kStringsSuffix))
                tasks.append({f, folder.language, joinPath(folder.path, name), name, false});
    }
    // Rows found in an earlier load keep their entries; their languages get
    // indexes after this load's folders.
    QStringList languageNames;
    for (const Folder &folder : std::as_const(folders))
        languageNames.append(folder.language);

    // Files are read and parsed in parallel, a batch at a time; the batch's
    // log lines follow in listing order; then its entries are merged in
    // parallel shards, each owning the row keys that hash to it and taking the
    // files in listing order, so every row ends up as a sequential load in
    // listing order would leave it. Batches keep the parsed copies of keys and
    // comments, which the merge shares between languages, few at any time.
    // Below this many files a load runs on the calling thread.
    const bool parallel = tasks.size() >= 16;
    const int shardCount = parallel ? mergeShardCount() : 1;
    std::vector<LoadJob> jobs(static_cast<size_t>(tasks.size()));
    for (qsizetype t = 0; t < tasks.size(); ++t)
        jobs[size_t(t)].task = tasks.at(t);

    std::vector<QHash<QString, RowBuild>> shards(static_cast<size_t>(shardCount));
    // Pairs of jobs whose files gave the same row key (key "a-b" in c.strings
    // and key "a" in b-c.strings): such a row can be written to one file only.
    std::vector<std::vector<std::pair<size_t, size_t>>> collisions(static_cast<size_t>(shardCount));
    std::vector<QStringList> shardLanguages(static_cast<size_t>(shardCount));
    for (QStringList &names : shardLanguages)
        for (const QString &name : std::as_const(languageNames))
            names.append(QString(name.constData(), name.size()));
    std::vector<int> shardIndexes(static_cast<size_t>(shardCount));
    std::iota(shardIndexes.begin(), shardIndexes.end(), 0);
    const QHash<QString, Row> &existingRows = data;
    const QHash<QString, QString> &existingFiles = mapKeyToFile;
    const qsizetype typicalLanguages = std::min<qsizetype>(folders.size(), 64);

    const size_t batchSize = size_t(std::max(8, 4 * shardCount));
    for (size_t batchBegin = 0; batchBegin < jobs.size(); batchBegin += batchSize) {
        const size_t batchEnd = std::min(jobs.size(), batchBegin + batchSize);
        forEach(jobs.begin() + qsizetype(batchBegin), jobs.begin() + qsizetype(batchEnd), parallel,
                [shardCount](LoadJob &job) { readJob(job, shardCount); });

        for (size_t j = batchBegin; j < batchEnd; ++j) {
            const LoadJob &job = jobs[j];
            const LoadResult &result = job.result;
            const auto keep = [&](const QString &reason) {
                keptFiles.insert(job.task.path, KeptFile{reason, job.task.language, job.task.fileName, 0});
            };
            switch (result.failure) {
            case TextFile::Failure::None:
            case TextFile::Failure::Missing:
                break;
            case TextFile::Failure::NotRegular:
            case TextFile::Failure::TooLarge:
                Log::line(QStringLiteral("Skipping ") + job.task.path + QStringLiteral(": ")
                          + TextFile::describe(result.failure));
                keep(TextFile::describe(result.failure));
                break;
            case TextFile::Failure::Unreadable:
            case TextFile::Failure::Undecodable:
                if (!job.task.txt)
                    Log::line(QStringLiteral("Can't read file @ ") + job.task.path);
                keep(TextFile::describe(result.failure));
                break;
            }
            if (result.blank)
                Log::line(QStringLiteral("Empty file for: ") + job.task.language);
            if (!result.problem.isEmpty()) {
                const QString reason = QStringLiteral("holds text that is not read as entries (")
                                       + result.problem + QLatin1Char(')');
                Log::line(QStringLiteral("Not rewriting ") + job.task.path + QStringLiteral(": ") + reason);
                keep(reason);
            }
            if (result.readable && !withinRoot(job.task.path)) {
                Log::line(QStringLiteral("Not writing through ") + job.task.path
                          + QStringLiteral(": it leads outside the project"));
                keep(QStringLiteral("a link to a file outside the project"));
            }
        }

        forEach(shardIndexes.begin(), shardIndexes.end(), parallel, [&](int shard) {
            QHash<QString, RowBuild> &rows = shards[size_t(shard)];
            QStringList &names = shardLanguages[size_t(shard)];
            const auto indexOf = [&names](const QString &name) {
                const qsizetype i = names.indexOf(name);
                if (i >= 0)
                    return int(i);
                names.append(QString(name.constData(), name.size()));
                return int(names.size() - 1);
            };
            QString rowKey;
            for (size_t j = batchBegin; j < batchEnd; ++j) {
                LoadJob &job = jobs[j];
                LoadResult &result = job.result;
                for (size_t i = 0; i < result.entries.size(); ++i) {
                    if (result.shards[i] != shard)
                        continue;
                    // Built in place: the buffer keeps its capacity between entries.
                    rowKey.resize(0);
                    rowKey += result.entries[i].key;
                    rowKey += QLatin1Char('-');
                    rowKey += job.task.fileName;
                    auto it = rows.find(rowKey);
                    if (it == rows.end()) {
                        it = rows.insert(QString(rowKey.constData(), rowKey.size()), RowBuild{});
                        it->entries.reserve(size_t(typicalLanguages));
                        const auto existing = existingRows.constFind(rowKey);
                        if (existing != existingRows.cend())
                            for (auto e = existing->cbegin(); e != existing->cend(); ++e)
                                it->entries.emplace_back(indexOf(e.key()), e.value());
                    }
                    if (it->lastJob >= 0 && jobs[size_t(it->lastJob)].task.fileName != job.task.fileName)
                        collisions[size_t(shard)].emplace_back(size_t(it->lastJob), j);
                    Entry entry = std::move(result.entries[i]);
                    // Languages mostly share a row's key and comment: share the text.
                    if (!it->entries.empty()) {
                        const Entry &first = it->entries.front().second;
                        if (first.key == entry.key)
                            entry.key = first.key;
                        if (first.comment == entry.comment)
                            entry.comment = first.comment;
                    }
                    it->entries.emplace_back(job.task.languageIndex, std::move(entry));
                    it->lastJob = qsizetype(j);
                }
            }
        });
        for (size_t j = batchBegin; j < batchEnd; ++j)
            jobs[j].result = LoadResult{};
    }
    for (const auto &shardCollisions : collisions) {
        for (const auto &[first, second] : shardCollisions) {
            for (const size_t j : {first, second}) {
                const LoadTask &task = jobs[j].task;
                if (keptFiles.contains(task.path))
                    continue;
                Log::line(QStringLiteral("Not rewriting ") + task.path
                          + QStringLiteral(": a key's row is shared with another file"));
                keptFiles.insert(task.path, KeptFile{QStringLiteral("a key's row is shared with another file"),
                                                     task.language, task.fileName, 0});
            }
        }
    }

    struct BuiltRow
    {
        QString rowKey;
        QString fileName;
        Row row;
    };
    std::vector<std::vector<BuiltRow>> built(shards.size());
    forEach(shardIndexes.begin(), shardIndexes.end(), parallel, [&](int shard) {
        QHash<QString, RowBuild> &rows = shards[size_t(shard)];
        auto &out = built[size_t(shard)];
        out.reserve(size_t(rows.size()));
        const std::vector<int> ranks = languageRanks(shardLanguages[size_t(shard)]);
        for (auto it = rows.begin(); it != rows.end(); ++it) {
            const QString fileName = it->lastJob >= 0 ? jobs[size_t(it->lastJob)].task.fileName
                                                      : existingFiles.value(it.key());
            out.push_back(BuiltRow{it.key(), fileName, toRow(it->entries, shardLanguages[size_t(shard)], ranks)});
        }
        rows.clear();
    });
    jobs.clear();

    qsizetype total = data.size();
    for (const auto &rows : built)
        total += qsizetype(rows.size());
    data.reserve(total);
    mapKeyToFile.reserve(total);
    for (auto &rows : built) {
        for (BuiltRow &row : rows) {
            mapKeyToFile.insert(row.rowKey, row.fileName);
            data.insert(row.rowKey, std::move(row.row));
        }
    }
    if (!keptFiles.isEmpty()) {
        const QHash<QString, QStringList> rowKeysByFile = rowKeysPerFile();
        for (KeptFile &kept : keptFiles)
            kept.fingerprint = fingerprintOf(rowKeysByFile.value(kept.fileName), kept.language);
    }
}

SaveReport ProjectModel::save()
{
    SaveReport report;
    if (languages.isEmpty() || projectURL.isEmpty()) {
        lastSave = report;
        return report;
    }
    const QStringList candidates = this->candidates();
    const QHash<QString, QStringList> rowKeysByFile = rowKeysPerFile();
    QStringList fileNames = rowKeysByFile.keys();
    std::sort(fileNames.begin(), fileNames.end());

    std::vector<FilePlan> plans;
    for (const QString &fileName : std::as_const(fileNames)) {
        FilePlan plan;
        plan.fileName = fileName;
        plan.txt = fileName.endsWith(kTxtSuffix);
        if (!plan.txt && !fileName.endsWith(kStringsSuffix))
            continue;
        if (!plan.txt)
            plan.rowKeys = rowKeysByFile.value(fileName);
        plans.push_back(std::move(plan));
    }
    const LanguageTable table = languageTable(languages);
    const QString tail = blockTail();
    const bool parallel = plans.size() * size_t(languages.size()) >= 16;
    forEach(plans.begin(), plans.end(), parallel,
            [&](FilePlan &plan) { plan.build(data, candidates, table, tail.size()); });

    // A folder that is gone, or that leads out of the project, takes no
    // writes; only a language with entries for it loses something there.
    const QString canonicalRoot = QFileInfo(projectURL).canonicalFilePath() + QLatin1Char('/');
    struct Task
    {
        WriteTask write;
        QString folderProblem;
        QString failure;
    };
    QList<Task> tasks;
    for (const QString &language : languages) {
        const QString folder = languageFolderPath(language);
        const QFileInfo info(folder);
        QString folderProblem;
        if (!info.isDir())
            folderProblem = QStringLiteral("its folder does not exist");
        else if (!(info.canonicalFilePath() + QLatin1Char('/')).startsWith(canonicalRoot))
            folderProblem = QStringLiteral("its folder leads outside the project");
        if (folderProblem.isEmpty() && keptFolders.contains(folder))
            folderProblem = keptFolders.value(folder);
        const int index = int(table.names.indexOf(language));
        for (const FilePlan &plan : plans)
            tasks.append({{joinPath(folder, plan.fileName), index, &plan}, folderProblem, {}});
    }
    // A path written twice (a language listed twice) keeps its last content,
    // as a sequential save would leave it; the writes can then run in parallel.
    QHash<QString, qsizetype> lastWrite;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        lastWrite.insert(tasks.at(i).write.path, i);
    QList<Task> unique;
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        const QString &path = tasks.at(i).write.path;
        if (lastWrite.value(path) != i)
            continue;
        const auto kept = keptFiles.constFind(path);
        if (kept == keptFiles.cend()) {
            unique.append(tasks.at(i));
        } else if (fingerprintOf(rowKeysByFile.value(kept->fileName), kept->language) != kept->fingerprint) {
            report.notWritten.append({path, QStringLiteral("changes not written: ") + kept->reason});
        }
    }
    const qsizetype languageCount = table.names.size();
    forEach(unique.begin(), unique.end(), parallel, [languageCount, &tail](Task &task) {
        QString out;
        const bool any = renderTask(task.write, languageCount, task.write.plan->txt ? QString() : tail, out);
        if (!task.folderProblem.isEmpty()) {
            if (any)
                task.failure = task.folderProblem;
            return;
        }
        if (task.write.plan->txt && !any)
            return;
        if (!TextFile::write(task.write.path, out))
            task.failure = QFileInfo(task.write.path).exists() && !QFileInfo(task.write.path).isFile()
                               ? QStringLiteral("not a regular file")
                               : QStringLiteral("could not be written");
    });
    for (const Task &task : std::as_const(unique))
        if (!task.failure.isEmpty())
            report.notWritten.append({task.write.path, task.failure});
    std::sort(report.notWritten.begin(), report.notWritten.end(),
              [](const SaveFailure &a, const SaveFailure &b) { return a.path < b.path; });
    lastSave = report;
    return report;
}

QHash<QString, QStringList> ProjectModel::rowKeysPerFile() const
{
    QHash<QString, QStringList> rowKeysByFile;
    for (auto it = mapKeyToFile.cbegin(); it != mapKeyToFile.cend(); ++it)
        rowKeysByFile[it.value()].append(it.key());
    return rowKeysByFile;
}

quint64 ProjectModel::fingerprintOf(const QStringList &rowKeys, const QString &language) const
{
    // Order-free: a sum of one hash per entry.
    quint64 sum = 0;
    for (const QString &rowKey : rowKeys) {
        const auto row = data.constFind(rowKey);
        if (row == data.cend())
            continue;
        const auto entry = row->constFind(language);
        if (entry == row->cend())
            continue;
        size_t h = qHash(entry->key, 1);
        h = qHash(entry->value, h);
        h = qHash(entry->comment.value_or(QStringLiteral("\u0001")), h);
        sum += quint64(h) * 0x9E3779B97F4A7C15ull + qHash(rowKey, 7);
    }
    return sum;
}

QString ProjectModel::languageFolderPath(const QString &language) const
{
    const QString lproj = joinPath(projectURL, language + kLprojSuffix);
    const QFileInfo info(lproj);
    if (info.exists() || info.isSymLink())
        return lproj;
    return joinPath(projectURL, language);
}

bool ProjectModel::isTxtRowKey(const QString &rowKey)
{
    return rowKey.endsWith(kTxtSuffix);
}

QString ProjectModel::heldFor(const QString &rowKey, const QString &plain)
{
    return isTxtRowKey(rowKey) ? plain : HeldText::fromPlain(plain);
}

bool ProjectModel::hasEveryLanguage(const Row &row, const QStringList &languages)
{
    return std::all_of(languages.cbegin(), languages.cend(),
                       [&row](const QString &language) { return row.contains(language); });
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
    return baseEntryOf(*row, candidates());
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
        for (const QString &language : languages) {
            const auto entry = row->constFind(language);
            if (entry != row->cend() && entry->value == base->value)
                ++same;
        }
    }
    return QStringLiteral("OK (") + QString::number(same) + QLatin1Char(')');
}

QString ProjectModel::statusText(const QString &rowKey) const
{
    return statusText(rowKey, candidates());
}

QString ProjectModel::statusText(const QString &rowKey, const QStringList &candidates) const
{
    const auto row = data.constFind(rowKey);
    return statusTextOf(row == data.cend() ? nullptr : &row.value(), languages, candidates);
}

QString ProjectModel::cellText(int index, const QString &column) const
{
    return cellText(index, column, candidates());
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
    rebuildKeys(sort, hideTranslated, candidates());
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

QStringList ProjectModel::candidates() const
{
    return baseLanguages ? baseLanguages() : Languages::defaultBaseLanguages();
}

QString ProjectModel::title() const
{
    return QString::number(keys.size()) + QStringLiteral(" - ") + projectURL;
}
