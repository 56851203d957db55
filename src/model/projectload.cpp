// Loading a project: its language folders, read and parsed in parallel, merged
// into rows as a load in listing order would leave them.
#include "model/projectmodel.h"

#include "common/languages.h"
#include "common/log.h"
#include "model/folderlisting.h"
#include "model/heldtext.h"
#include "model/orderedwork.h"
#include "model/projectfiles.h"
#include "model/stringscontent.h"
#include "model/textblock.h"
#include "model/textfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <functional>
#include <numeric>

using namespace ProjectFiles;

namespace {

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
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
    while (end < name.size() && name.at(end) != QLatin1Char('-') &&
           name.at(end) != QLatin1Char('_'))
        ++end;
    const QString code = QLocale::languageToCode(locale.language());
    return !code.isEmpty() && code.compare(QStringView(name).left(end), Qt::CaseInsensitive) == 0 &&
           !QLocale::languageToString(locale.language()).isEmpty();
}

struct LoadTask
{
    int languageIndex = 0; // into the languages found by this load
    QString language;
    QString path;
    QString fileName;
    bool txt = false;
};

// Small enough that the allocator keeps a freed piece for the rows to reuse.
constexpr qsizetype ChunkEntries = 1024;
// Room in a block of row keys: some eighty keys.
constexpr qsizetype KeyBlockUnits = 4096;
// Fewer new rows are entered into the two tables one after the other: handing
// the work to another thread would cost more than it saves.
constexpr qsizetype ParallelFillRows = 16384;
// The bytes of the files being read and parsed at once; a larger file is
// read alone.
constexpr qint64 ReadingBudgetBytes = 16 * 1024 * 1024;

// One file's entries, and what went wrong reading it.
struct LoadResult
{
    bool readable = false;
    bool blank = false;
    TextFile::Failure failure = TextFile::Failure::None;
    // Set when the file holds text its entries do not cover.
    QString problem;
    // The entries in file order, in pieces of at most ChunkEntries that the
    // merge frees as it goes: a large file's list would otherwise be held
    // whole until its last entry is merged.
    std::vector<QList<Entry>> chunks;

    qsizetype entryCount() const
    {
        qsizetype count = 0;
        for (const QList<Entry> &chunk : chunks)
            count += chunk.size();
        return count;
    }
};

struct LoadJob
{
    LoadTask task;
    LoadResult result;
};

void readJob(LoadJob &job)
{
    const LoadTask &task = job.task;
    LoadResult &result = job.result;
    std::optional<DecodedText> decoded = TextFile::readDecoded(task.path, &result.failure);
    if (!decoded)
        return;
    std::optional<QString> text = std::move(decoded->text);
    result.readable = true;
    if (task.txt) {
        result.chunks.push_back(
            {Entry{task.fileName, std::move(*text), QString(QLatin1String(""))}});
    } else if (isBlank(*text)) {
        result.blank = true;
        return;
    } else {
        StringsContent content = StringsContent::read(*text);
        text.reset();
        if (!content.complete)
            result.problem = content.problem;
        // One key may be spelled several ways ("caf\U00e9", "café"); a row
        // must stand for the key, or two rows would write the same key into
        // one file and a property-list reader would keep only the last. Keys
        // with escapes are held in the one spelling HeldText gives them.
        for (Entry &entry : content.entries)
            if (entry.key.contains(u'\\'))
                entry.key = HeldText::fromPlain(HeldText::toPlain(entry.key));
        for (qsizetype at = 0; at < content.entries.size(); at += ChunkEntries) {
            const qsizetype end = std::min(content.entries.size(), at + ChunkEntries);
            QList<Entry> &chunk = result.chunks.emplace_back();
            chunk.reserve(end - at);
            std::move(content.entries.begin() + at, content.entries.begin() + end,
                      std::back_inserter(chunk));
        }
    }
}

// The positions of `spans` (each key's span of 128 buckets in a QHash with
// room for `capacity` items) ordered by span, keeping the given order within
// a span and among equal keys. Entering keys in that order walks a large
// table once from start to end, instead of jumping about memory that long
// outgrew the processor's caches. It follows Qt 6's layout (a key's bucket is
// its hash's low bits, 128 buckets to a span); another layout would cost
// speed only.
std::vector<quint32> spanOrder(const std::vector<quint32> &spans, qsizetype capacity)
{
    std::vector<quint32> starts(size_t(std::max<qsizetype>(1, capacity * 2 / 128)) + 1);
    for (const quint32 span : spans)
        ++starts[span + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<quint32> order(spans.size());
    for (size_t i = 0; i < spans.size(); ++i)
        order[starts[spans[i]]++] = quint32(i);
    return order;
}

quint32 spanOf(const QString &key, size_t seed, qsizetype capacity)
{
    const size_t buckets = size_t(std::max<qsizetype>(64, capacity)) * 2;
    return quint32((qHash(key, seed) & (buckets - 1)) >> 7);
}

} // namespace

void ProjectModel::keepUndecodable(const QString &folder, const QString &language,
                                   const QStringList &names, const QStringList &suffixes)
{
    for (const QString &name : names) {
        if (std::none_of(suffixes.cbegin(), suffixes.cend(),
                         [&name](const QString &suffix) { return name.endsWith(suffix); }))
            continue;
        const QString path = joinPath(folder, name);
        const QString reason =
            QCoreApplication::translate("ProjectModel", "the name is not valid UTF-8");
        Log::line(QStringLiteral("Skipping ") + path + QStringLiteral(": ") + reason);
        keptFiles.insert(path, KeptFile{reason, language, name, 0});
    }
}

void ProjectModel::load()
{
    load({});
}

void ProjectModel::load(const std::function<void(int read, int total)> &progress)
{
    if (projectURL.isEmpty())
        return;
    const QString root = projectURL;
    const FolderListing rootListing = FolderListing::read(root);
    const QStringList &names = rootListing.names;
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath() + QLatin1Char('/');
    // Links may lead anywhere; what they lead to outside the root is read,
    // never written.
    const auto withinRoot = [&canonicalRoot](const QString &path) {
        const QString target = QFileInfo(path).canonicalFilePath();
        return target.isEmpty() || target.startsWith(canonicalRoot);
    };

    QList<ListedFolder> folders;
    for (const QString &name : names)
        if (hasLprojExtension(name))
            folders.append({name.chopped(LprojSuffix.size()), joinPath(root, name), {}});
    for (const QString &name : names) {
        // An lproj folder was loaded by the first pass; loading it again under
        // its whole name ("pt-BR.lproj") would make Save write stale entries
        // over the first pass's file.
        if (hasLprojExtension(name))
            continue;
        const QStringList parts = name.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        if (!parts.isEmpty() && Languages::isKnownCode(parts.first()))
            folders.append({name, joinPath(root, name), {}});
    }
    if (folders.isEmpty()) {
        for (const QString &name : names) {
            const QString path = joinPath(root, name);
            if (QFileInfo(path).isDir() && platformNamesLanguage(name))
                folders.append({name, path, {}});
        }
    }

    QList<LoadTask> tasks;
    for (int f = 0; f < folders.size(); ++f) {
        ListedFolder &folder = folders[f];
        languages.append(folder.language);
        const QFileInfo info(folder.path);
        if (info.isDir() && !(info.isReadable() && info.isExecutable())) {
            // Its files were not read: writing them would replace what the
            // project holds with nothing.
            Log::line(QStringLiteral("Can't list folder @ ") + folder.path);
            keptFolders.insert(folder.path, QCoreApplication::translate(
                                                "ProjectModel", "the folder cannot be read"));
            continue;
        }
        const FolderListing listing = FolderListing::read(folder.path);
        keepUndecodable(folder.path, folder.language, listing.undecodable,
                        {TxtSuffix, StringsSuffix, VariantFiles::StringsDictSuffix});
        folder.names = listing.names;
        const QStringList &files = folder.names;
        for (const QString &name : files)
            if (name.endsWith(TxtSuffix))
                tasks.append({f, folder.language, joinPath(folder.path, name), name, true});
        for (const QString &name : files)
            if (name.endsWith(StringsSuffix))
                tasks.append({f, folder.language, joinPath(folder.path, name), name, false});
    }
    QStringList languageNames;
    std::vector<Row::Language> heldLanguages;
    for (const ListedFolder &folder : std::as_const(folders)) {
        languageNames.append(folder.language);
        heldLanguages.push_back(HeldNames::hold(folder.language));
    }
    // A fresh load starts from no rows: what it merges is all a row holds.
    const bool fresh = data.isEmpty();
    // A row of a fresh load holds only languages merged before the current
    // one. Where the current one sorts after all of those, its entry goes
    // last in the row, unless the row already has it (a key given twice).
    std::vector<char> sortsLast(size_t(languageNames.size()));
    for (qsizetype i = 0; i < languageNames.size(); ++i)
        sortsLast[size_t(i)] =
            fresh &&
            std::all_of(languageNames.cbegin(), languageNames.cbegin() + i,
                        [&](const QString &earlier) { return earlier < languageNames.at(i); });

    // Files are read and parsed in parallel, in listing order, a bounded
    // number ahead of this thread, which logs and merges each file in listing
    // order, so every row ends up as a sequential load would leave it.
    // A few small files load faster on the calling thread than handed to others.
    qint64 bytes = 0;
    std::vector<qint64> fileSizes;
    fileSizes.reserve(size_t(tasks.size()));
    for (const LoadTask &task : std::as_const(tasks)) {
        fileSizes.push_back(QFileInfo(task.path).size());
        bytes += fileSizes.back();
    }
    const bool parallel = tasks.size() >= 16 || (tasks.size() > 1 && bytes >= 4 * 1024 * 1024);
    std::vector<LoadJob> jobs(static_cast<size_t>(tasks.size()));
    for (qsizetype t = 0; t < tasks.size(); ++t)
        jobs[size_t(t)].task = tasks.at(t);
    const qsizetype typicalLanguages = std::min<qsizetype>(folders.size(), 64);
    QSet<QString> collisionFiles;
    QString rowKey;
    std::optional<TextBlock> keyBlock;
    // The first file of its name in a fresh load makes every row it touches
    // (other names give other row keys unless names collide, see below): no
    // need to look for one first. A key it gives twice replaces its row,
    // leaving the later entry, as an insert would.
    QSet<QString> fileNames;
    std::vector<char> makesRows(size_t(tasks.size()));
    for (qsizetype t = 0; t < tasks.size(); ++t) {
        makesRows[size_t(t)] = fresh && !fileNames.contains(tasks.at(t).fileName);
        fileNames.insert(tasks.at(t).fileName);
    }
    // Two files can give one row key only when one file's name ends in "-"
    // and the other's whole name ("Main-iPad.strings", "iPad.strings"); most
    // projects need no check.
    const bool collisionsPossible =
        std::any_of(fileNames.cbegin(), fileNames.cend(), [&](const QString &a) {
            return std::any_of(fileNames.cbegin(), fileNames.cend(), [&](const QString &b) {
                return a.size() > b.size() && a.endsWith(b) &&
                       a.at(a.size() - b.size() - 1) == u'-';
            });
        });
    if (collisionsPossible)
        std::fill(makesRows.begin(), makesRows.end(), 0);

    // Progress is told every batch of files; the first batch is read before
    // anything is merged, to size the tables.
    const size_t batchSize = size_t(std::max(8, 4 * workPool()->maxThreadCount()));
    {
        // Reading a file holds about five times its bytes until it is parsed
        // (the decoded text, the entries and their texts), so large files are
        // read one after another. This thread, busy merging, keeps a core of
        // its own: one reader fewer than the pool has threads.
        OrderedWork reading(
            qsizetype(jobs.size()), qsizetype(batchSize), parallel ? workPool() : nullptr,
            std::max(1, workPool()->maxThreadCount() - 1),
            [&jobs](qsizetype j) { readJob(jobs[size_t(j)]); }, std::move(fileSizes),
            ReadingBudgetBytes);
        const size_t firstBatch = std::min(batchSize, jobs.size());
        for (size_t j = 0; j < firstBatch; ++j)
            reading.take(qsizetype(j));
        // Room for the rows the first files bring, so the tables do not grow
        // by rehashing while a large project is merged.
        if (fresh) {
            QHash<QString, qsizetype> rowsPerFile;
            for (size_t j = 0; j < firstBatch; ++j) {
                qsizetype &rows = rowsPerFile[jobs[j].task.fileName];
                rows = std::max(rows, jobs[j].result.entryCount());
            }
            qsizetype rows = 0;
            for (const qsizetype count : std::as_const(rowsPerFile))
                rows += count;
            data.reserve(rows);
            mapKeyToFile.reserve(rows);
        }
        // What went wrong reading a file, logged and kept in listing order.
        const auto note = [&](const LoadJob &job) {
            const LoadResult &result = job.result;
            const auto keep = [&](const QString &reason) {
                keptFiles.insert(job.task.path,
                                 KeptFile{reason, job.task.language, job.task.fileName, 0});
            };
            switch (result.failure) {
            case TextFile::Failure::None:
            case TextFile::Failure::Missing:
                break;
            case TextFile::Failure::NotRegular:
            case TextFile::Failure::TooLarge:
                Log::line(QStringLiteral("Skipping ") + job.task.path + QStringLiteral(": ") +
                          TextFile::describe(result.failure));
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
                const QString reason =
                    QCoreApplication::translate("ProjectModel",
                                                "holds text that is not read as entries (%1)")
                        .arg(result.problem);
                Log::line(QStringLiteral("Not rewriting ") + job.task.path + QStringLiteral(": ") +
                          reason);
                keep(reason);
            }
            if (result.readable && !withinRoot(job.task.path)) {
                Log::line(QStringLiteral("Not writing through ") + job.task.path +
                          QStringLiteral(": it leads outside the project"));
                keep(QCoreApplication::translate("ProjectModel",
                                                 "a link to a file outside the project"));
            }
        };
        // Built in place: the buffer keeps its capacity between entries, and
        // copying beats three appends on the merge's hot path.
        const auto makeRowKey = [&rowKey](const Entry &entry, const QString &fileName) {
            const qsizetype keySize = entry.key.size();
            rowKey.resize(keySize + 1 + fileName.size());
            QChar *out = rowKey.data();
            std::copy_n(entry.key.constData(), keySize, out);
            out[keySize] = QLatin1Char('-');
            std::copy_n(fileName.constData(), fileName.size(), out + keySize + 1);
        };
        // Row keys share blocks, as the entries' texts do.
        const auto holdRowKey = [&]() {
            if (!keyBlock || keyBlock->left() <= rowKey.size())
                keyBlock.emplace(std::max<qsizetype>(KeyBlockUnits, rowKey.size() + 1));
            return keyBlock->take(rowKey);
        };
        // A file that makes every row it touches: its rows are built in file
        // order, freeing the entries' chunks for the rows to reuse, and then
        // entered into both tables in the tables' order. A key given twice
        // is entered twice, the later row replacing the earlier.
        const auto mergeNewRows = [&](LoadJob &job) {
            const Row::Language language = heldLanguages[size_t(job.task.languageIndex)];
            const QString &fileName = job.task.fileName;
            const HeldNames::Name heldFile = HeldNames::hold(fileName);
            const qsizetype count = job.result.entryCount();
            data.reserve(data.size() + count);
            mapKeyToFile.reserve(mapKeyToFile.size() + count);
            const qsizetype capacity = data.capacity();
            const size_t seed = QHashSeed::globalSeed();
            struct Made
            {
                QString key;
                QString mapKey;
                Row row;
            };
            std::vector<Made> made;
            made.reserve(size_t(count));
            std::vector<quint32> spans;
            spans.reserve(size_t(count));
            for (QList<Entry> &chunk : job.result.chunks) {
                for (Entry &entry : chunk) {
                    makeRowKey(entry, fileName);
                    const qsizetype keySize = entry.key.size();
                    Made &next = made.emplace_back(Made{holdRowKey(), QString(), Row()});
                    // The map's copy counts a reference on the key's block
                    // while the block is at hand; in the tables' order it
                    // would reach the blocks at random.
                    next.mapKey = next.key;
                    spans.push_back(spanOf(next.key, seed, capacity));
                    entry.key = TextBlock::prefix(next.key, keySize);
                    next.row.reserve(typicalLanguages);
                    next.row.append(language, std::move(entry));
                }
                chunk = QList<Entry>();
            }
            // The two tables are filled on two threads when there is much to
            // fill: each takes its own members of the made rows, in one order,
            // so both still list their keys alike.
            // The made rows are reached in the tables' order, at random: each
            // step fetches a later row, then a nearer one's key text, which
            // entering it hashes. Written out in the loop, as a lambda that
            // only prefetches is dropped.
            const std::vector<quint32> order = spanOrder(spans, capacity);
            const auto enterInOrder = [&](auto keyOf, auto enter) {
                constexpr size_t Ahead = 8;
                for (size_t p = 0; p < order.size(); ++p) {
                    if (p + 2 * Ahead < order.size())
                        __builtin_prefetch(&made[order[p + 2 * Ahead]]);
                    if (p + Ahead < order.size())
                        __builtin_prefetch(keyOf(made[order[p + Ahead]]).constData());
                    enter(made[order[p]]);
                }
            };
            runBoth(
                count >= ParallelFillRows,
                [&] {
                    enterInOrder([](const Made &next) -> const QString & { return next.key; },
                                 [&](Made &next) {
                                     data.emplace(std::move(next.key), std::move(next.row));
                                 });
                },
                [&] {
                    enterInOrder([](const Made &next) -> const QString & { return next.mapKey; },
                                 [&](Made &next) {
                                     mapKeyToFile.insert(std::move(next.mapKey), heldFile);
                                 });
                });
        };
        // Merged in listing order, so a later file's entry of a key wins.
        const auto merge = [&](LoadJob &job) {
            const Row::Language language = heldLanguages[size_t(job.task.languageIndex)];
            const bool appends = sortsLast[size_t(job.task.languageIndex)];
            const QString &fileName = job.task.fileName;
            const HeldNames::Name heldFile = HeldNames::hold(fileName);
            for (QList<Entry> &chunk : job.result.chunks) {
                for (Entry &entry : chunk) {
                    makeRowKey(entry, fileName);
                    const qsizetype keySize = entry.key.size();
                    auto row = data.find(rowKey);
                    if (row == data.end()) {
                        row = data.emplace(holdRowKey(), Row());
                        row->reserve(typicalLanguages);
                        mapKeyToFile.insert(row.key(), heldFile);
                    } else if (collisionsPossible) {
                        const QString file = mapKeyToFile.value(row.key());
                        if (file != fileName) {
                            collisionFiles.insert(file);
                            collisionFiles.insert(fileName);
                            mapKeyToFile.insert(row.key(), heldFile);
                        }
                    }
                    // The row key starts with the key: the entry keeps that
                    // start instead of a copy of its own, which frees the
                    // reader's block of keys.
                    entry.key = TextBlock::prefix(row.key(), keySize);
                    if (appends &&
                        (row->isEmpty() || row->lastLanguage() != language))
                        row->append(language, std::move(entry));
                    else
                        row->insert(language, std::move(entry));
                }
                chunk = QList<Entry>();
            }
        };
        for (size_t batchBegin = 0; batchBegin < jobs.size(); batchBegin += batchSize) {
            const size_t batchEnd = std::min(jobs.size(), batchBegin + batchSize);
            for (size_t j = batchBegin; j < batchEnd; ++j) {
                reading.take(qsizetype(j));
                note(jobs[j]);
                if (makesRows[j])
                    mergeNewRows(jobs[j]);
                else
                    merge(jobs[j]);
                jobs[j].result = LoadResult{};
                reading.release();
            }
            if (progress)
                progress(int(batchEnd), int(jobs.size()));
        }
    }
    // Key "a-b" in c.strings and key "a" in b-c.strings share one row, which
    // can be written to one file only: neither file is rewritten.
    for (const LoadJob &job : jobs) {
        const LoadTask &task = job.task;
        if (!collisionFiles.contains(task.fileName) || keptFiles.contains(task.path))
            continue;
        Log::line(QStringLiteral("Not rewriting ") + task.path +
                  QStringLiteral(": a key's row is shared with another file"));
        keptFiles.insert(task.path,
                         KeptFile{QCoreApplication::translate(
                                      "ProjectModel", "a key's row is shared with another file"),
                                  task.language, task.fileName, 0});
    }
    jobs.clear();

    keepUndecodable(root, QString(), rootListing.undecodable, {VariantFiles::CatalogSuffix});
    loadVariants(folders, names);

    if (!keptFiles.isEmpty()) {
        const QHash<QString, FileRows> rowsByFile = rowsPerFile();
        for (KeptFile &kept : keptFiles)
            kept.fingerprint = fingerprintOf(rowsByFile, kept);
    }
}
