// Loading a project: its language folders, read and parsed in parallel, merged
// into rows as a load in listing order would leave them.
#include "model/projectmodel.h"

#include "common/languages.h"
#include "common/log.h"
#include "model/heldtext.h"
#include "model/projectfiles.h"
#include "model/stringscontent.h"
#include "model/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QThreadPool>
#include <algorithm>
#include <map>
#include <numeric>

using namespace ProjectFiles;

namespace {

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
    return name.size() > LprojSuffix.size() && name.endsWith(LprojSuffix);
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

} // namespace

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
            folders.append({name.chopped(LprojSuffix.size()), joinPath(root, name)});
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
            keptFolders.insert(folder.path, QCoreApplication::translate("ProjectModel", "the folder cannot be read"));
            continue;
        }
        const QStringList files = listNames(folder.path);
        for (const QString &name : files)
            if (name.endsWith(TxtSuffix))
                tasks.append({f, folder.language, joinPath(folder.path, name), name, true});
        for (const QString &name : files)
            if (name.endsWith(StringsSuffix))
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
                const QString reason = QCoreApplication::translate(
                    "ProjectModel", "holds text that is not read as entries (%1)").arg(result.problem);
                Log::line(QStringLiteral("Not rewriting ") + job.task.path + QStringLiteral(": ") + reason);
                keep(reason);
            }
            if (result.readable && !withinRoot(job.task.path)) {
                Log::line(QStringLiteral("Not writing through ") + job.task.path
                          + QStringLiteral(": it leads outside the project"));
                keep(QCoreApplication::translate("ProjectModel", "a link to a file outside the project"));
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
                keptFiles.insert(task.path, KeptFile{QCoreApplication::translate(
                                                         "ProjectModel", "a key's row is shared with another file"),
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

