// Saving a project: every file of every language written from the model, in
// the canonical layout, in parallel; kept files and unusable folders skipped.
#include "model/projectmodel.h"

#include "model/keycollator.h"
#include "model/orderedwork.h"
#include "model/piecewriter.h"
#include "model/preservingwriter.h"
#include "model/projectfiles.h"
#include "model/stringswriter.h"
#include "model/textfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThreadPool>
#include <algorithm>
#include <bit>
#include <functional>
#include <limits>

using namespace ProjectFiles;

namespace {

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

// Puts a file's rows in the order their keys' texts lie in memory, which for
// a loaded file is the order of the file. Its sort keys are then computed
// reading the texts from start to end, and the walk in sorted order reaches
// rows in about the order they were made, not at random: on a large file
// that is what the save spends most of its time waiting for.
void orderByAddress(FileRows &found)
{
    const size_t count = found.rowKeys.size();
    // A small file's rows sit in the caches whatever their order.
    if (count < 8192 || count > std::numeric_limits<quint32>::max())
        return;
    // Each item is the text's place in UTF-16 units above the lowest,
    // then its index: sorted by the place alone, ties keep their order. The
    // texts are reached once, at random, for their addresses.
    std::vector<quint64> items(count);
    for (size_t i = 0; i < count; ++i)
        items[i] = quint64(quintptr(found.rowKeys[i]->constData()));
    const auto [lowest, highest] = std::minmax_element(items.cbegin(), items.cend());
    const quint64 low = *lowest;
    const int bits = std::bit_width((*highest - low) / sizeof(char16_t));
    if (bits > 32)
        return;
    for (size_t i = 0; i < count; ++i)
        items[i] = (((items[i] - low) / sizeof(char16_t)) << 32) | i;
    std::vector<quint64> sorted(count);
    constexpr int DigitBits = 11;
    std::vector<quint32> starts(size_t(1) << DigitBits);
    for (int shift = 32; shift < 32 + bits; shift += DigitBits) {
        std::fill(starts.begin(), starts.end(), 0);
        const auto digit = [&](quint64 item) {
            return size_t(item >> shift) & (starts.size() - 1);
        };
        for (const quint64 item : items)
            ++starts[digit(item)];
        quint32 sum = 0;
        for (quint32 &start : starts)
            sum += std::exchange(start, sum);
        for (const quint64 item : items)
            sorted[starts[digit(item)]++] = item;
        items.swap(sorted);
    }
    FileRows ordered;
    ordered.rowKeys.reserve(count);
    ordered.rows.reserve(count);
    for (const quint64 item : items) {
        ordered.rowKeys.push_back(found.rowKeys[quint32(item)]);
        ordered.rows.push_back(found.rows[quint32(item)]);
    }
    found = std::move(ordered);
}

// A file with fewer rows is gathered for writing on one thread: handing half
// to another would cost more than it saves.
constexpr size_t ParallelGatherRows = 32768;

// The rows of one file as Save writes them (for .strings files every row with
// an entry, in key order; for a .txt file its single row), with each row's
// entry per language looked up once, rather than once per language file.
struct FilePlan
{
    QString fileName;
    bool txt = false;
    FileRows found; // the file's rows as found; freed once sorted
    // Whether writtenRowKeys is wanted: the preserving layout finds the
    // entries on disk by them.
    bool keepRowKeys = false;
    std::vector<const QString *> writtenRowKeys; // the row keys of the rows below, in written order
    QList<const Entry *> bases; // null for a row without a base entry
    // Each row's block up to its value for rows with a base entry, as UTF-8
    // in one block (row r's head is bytes [heads[r], heads[r + 1])): the
    // base entry's comment and key are escaped once per save instead of once
    // per language. Rows without one are written with each language's own
    // key and comment.
    // Built only when several languages are written from it (headsCached):
    // for one, it would be a copy of most of what the file's bytes hold.
    bool headsCached = false;
    QByteArray headBytes;
    std::vector<qsizetype> heads{0};
    std::vector<const Entry *> cells; // row-major: bases.size() x language count

    void build(const QHash<QString, Row> &data, const QStringList &candidates,
               const LanguageTable &languages, const QString &collationLocale)
    {
        const size_t count = size_t(languages.names.size());
        // Filled while the row is at hand: a large file's rows lie scattered.
        const auto addCells = [&](std::vector<const Entry *> &to, const Row &row) {
            const size_t r = to.size();
            to.resize(r + count, nullptr);
            size_t j = 0;
            for (auto it = row.cbegin(); it != row.cend() && j < count; ++it) {
                while (j < count && languages.sorted.at(qsizetype(j)) < it.key())
                    ++j;
                if (j < count && languages.sorted.at(qsizetype(j)) == it.key())
                    to[r + size_t(languages.sortedToName[j])] = &it.value();
            }
        };
        if (txt) {
            const auto row = data.constFind(rowKeyFor(fileName, fileName));
            if (row != data.cend() && !row->isEmpty()) {
                bases.append(nullptr);
                writtenRowKeys.push_back(&row.key());
                addCells(cells, *row);
            }
            return;
        }
        orderByAddress(found);
        const std::vector<quint32> order = KeyCollator(collationLocale).order(found.rowKeys);
        if (!keepRowKeys)
            found.rowKeys = {};
        headsCached = count > 1;
        // The lists for a stretch of the written order; a large file's two
        // halves are gathered on two threads and joined.
        struct Part
        {
            QList<const Entry *> bases;
            std::vector<const QString *> writtenRowKeys;
            std::vector<const Entry *> cells;
            QByteArray headBytes;
            std::vector<qsizetype> headEnds; // where each row's head ends in headBytes
        };
        const auto gather = [&](size_t from, size_t to, Part &part) {
            // The first part has room for all rows: the second is joined to it.
            const size_t room = from == 0 ? order.size() : to - from;
            part.bases.reserve(qsizetype(room));
            part.cells.reserve(room * count);
            if (keepRowKeys)
                part.writtenRowKeys.reserve(room);
            if (headsCached)
                part.headEnds.reserve(to - from);
            // Sorted order is random in memory. Each step fetches ahead what
            // a later one reads: its place in the found list, then its row,
            // then the row's entries, which breaks the chain of waits.
            // Written out in the loop: GCC drops a lambda that only
            // prefetches, as a call without effects.
            constexpr size_t Ahead = 8;
            for (size_t p = from; p < to; ++p) {
                if (p + 4 * Ahead < to)
                    __builtin_prefetch(&found.rows[order[p + 4 * Ahead]]);
                if (p + 2 * Ahead < to)
                    __builtin_prefetch(found.rows[order[p + 2 * Ahead]]);
                if (p + Ahead < to) {
                    const Row *ahead = found.rows[order[p + Ahead]];
                    if (ahead && ahead->storage())
                        __builtin_prefetch(ahead->storage());
                }
                const Row *row = found.rows[order[p]];
                if (!row || row->isEmpty())
                    continue;
                const Entry *base = ProjectModel::baseEntryIn(*row, candidates);
                part.bases.append(base);
                if (keepRowKeys)
                    part.writtenRowKeys.push_back(found.rowKeys[order[p]]);
                addCells(part.cells, *row);
                if (headsCached) {
                    if (base)
                        StringsWriter::appendHeadUtf8(part.headBytes, *base);
                    part.headEnds.push_back(part.headBytes.size());
                }
            }
        };
        // A small file's rows all go to the first part.
        const size_t half = order.size() >= ParallelGatherRows ? order.size() / 2 : order.size();
        Part first;
        Part second;
        runBoth(
            half < order.size(), [&] { gather(0, half, first); },
            [&] { gather(half, order.size(), second); });
        found = {};
        bases = std::move(first.bases);
        bases.append(second.bases);
        writtenRowKeys = std::move(first.writtenRowKeys);
        writtenRowKeys.insert(writtenRowKeys.end(), second.writtenRowKeys.cbegin(),
                              second.writtenRowKeys.cend());
        cells = std::move(first.cells);
        cells.insert(cells.end(), second.cells.cbegin(), second.cells.cend());
        headBytes = std::move(first.headBytes);
        const qsizetype secondHeads = headBytes.size();
        headBytes.append(second.headBytes);
        heads.reserve(first.headEnds.size() + second.headEnds.size() + 1);
        heads.insert(heads.end(), first.headEnds.cbegin(), first.headEnds.cend());
        for (const qsizetype end : second.headEnds)
            heads.push_back(secondHeads + end);
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

// Whether the task's language has an entry in its file.
bool hasEntries(const WriteTask &task, qsizetype languageCount)
{
    const FilePlan &plan = *task.plan;
    for (qsizetype i = 0; i < plan.bases.size(); ++i)
        if (plan.cell(i, task.language, languageCount))
            return true;
    return false;
}

// The most of a file's bytes held at once while it is written.
constexpr qsizetype PieceBytes = 256 * 1024;
// A large file is rendered in runs of this many rows, one thread rendering
// ahead while the caller writes; each run's bytes are held until written.
constexpr qsizetype RunRows = 2048;
constexpr qsizetype RunsAhead = 3;

// Appends the blocks of rows [from, to) of a task's .strings file to `out`,
// calling full() whenever it holds PieceBytes or more.
template <typename Full>
void appendRows(const WriteTask &task, qsizetype languageCount, qsizetype from, qsizetype to,
                QByteArray &out, Full &&full)
{
    const FilePlan &plan = *task.plan;
    // The entries lie scattered in memory: each step fetches a later row's
    // entry, then its texts, while this one is written.
    // Written out in the loop, as a lambda that only prefetches is dropped.
    constexpr qsizetype Ahead = 8;
    for (qsizetype i = from; i < to; ++i) {
        if (i + 2 * Ahead < to) {
            __builtin_prefetch(plan.cell(i + 2 * Ahead, task.language, languageCount));
            __builtin_prefetch(plan.bases.at(i + 2 * Ahead));
        }
        if (i + Ahead < to) {
            const Entry *ahead = plan.cell(i + Ahead, task.language, languageCount);
            const Entry *aheadBase = plan.bases.at(i + Ahead);
            if (ahead)
                __builtin_prefetch(ahead->value.constData());
            if (ahead && !(aheadBase && plan.headsCached))
                __builtin_prefetch((aheadBase ? aheadBase : ahead)->key.constData());
        }
        const Entry *entry = plan.cell(i, task.language, languageCount);
        if (!entry)
            continue;
        const Entry *base = plan.bases.at(i);
        if (base && plan.headsCached)
            out.append(plan.headBytes.constData() + plan.heads[size_t(i)], plan.heads[size_t(i) + 1] - plan.heads[size_t(i)]);
        else
            StringsWriter::appendHeadUtf8(out, base ? *base : *entry);
        if (StringsWriter::needsEscaping(entry->value))
            TextFile::appendUtf8(out, StringsWriter::escapeValue(entry->value));
        else
            TextFile::appendUtf8(out, entry->value);
        StringsWriter::appendTailUtf8(out);
        if (out.size() >= PieceBytes)
            full();
    }
}

// Hands what a task writes to `sink` (a file of the task's language: for a
// .txt file without an entry, nothing), as UTF-8 in pieces of some PieceBytes
// each, built straight as bytes: neither a UTF-16 copy of a large file nor its
// whole UTF-8 is held.
void renderTask(const WriteTask &task, qsizetype languageCount,
                const std::function<void(QByteArrayView)> &sink)
{
    const FilePlan &plan = *task.plan;
    if (plan.txt) {
        const Entry *entry =
            plan.bases.isEmpty() ? nullptr : plan.cell(0, task.language, languageCount);
        if (entry)
            sink(entry->value.toUtf8());
        return;
    }
    const qsizetype rows = plan.bases.size();
    if (rows >= 4 * RunRows) {
        const qsizetype runs = (rows + RunRows - 1) / RunRows;
        std::vector<QByteArray> rendered(static_cast<size_t>(runs));
        OrderedWork rendering(runs, RunsAhead, workPool(), 1, [&](qsizetype run) {
            QByteArray &out = rendered[size_t(run)];
            const qsizetype from = run * RunRows;
            appendRows(task, languageCount, from, std::min(rows, from + RunRows), out, [] {});
        });
        sink("\n");
        for (qsizetype run = 0; run < runs; ++run) {
            rendering.take(run);
            sink(rendered[size_t(run)]);
            rendered[size_t(run)] = QByteArray();
            rendering.release();
        }
        return;
    }
    QByteArray out;
    out.reserve(PieceBytes + 4096);
    out += '\n';
    appendRows(task, languageCount, 0, rows, out, [&] {
        sink(out);
        // Keeps the buffer: clear() would free it, and the next piece
        // would grow a new one by doubling.
        out.resize(0);
    });
    sink(out);
}

// Writes what a task writes to its path; false when it could not.
bool writeTask(const WriteTask &task, qsizetype languageCount)
{
    PieceWriter writer(task.path);
    renderTask(task, languageCount, [&writer](QByteArrayView piece) { writer.append(piece); });
    return writer.finish();
}

// The entries a file of the task's language must hold, for the preserving
// writer: the key of the base entry (a renamed key is renamed in every
// language), the language's own value, and its own comment where the language
// owns it (a base-language candidate, or a row without a base entry); other
// languages keep the comment their file has, and a new entry gets the base
// entry's.
QList<PreservedEntry> preservedEntries(const WriteTask &task, qsizetype languageCount, bool candidateLanguage)
{
    const FilePlan &plan = *task.plan;
    QList<PreservedEntry> wanted;
    for (qsizetype i = 0; i < plan.bases.size(); ++i) {
        const Entry *entry = plan.cell(i, task.language, languageCount);
        if (!entry)
            continue;
        const Entry *base = plan.bases.at(i);
        PreservedEntry want;
        want.loadedKey = plan.writtenRowKeys[size_t(i)]->chopped(plan.fileName.size() + 1);
        want.ownsComment = !base || candidateLanguage;
        want.entry = Entry{base ? base->key : entry->key, entry->value,
                           want.ownsComment ? entry->comment : base->comment};
        wanted.append(std::move(want));
    }
    return wanted;
}

// Saves a task's file in the preserving layout: edits the file as it stands
// on disk, creates it only when it gets entries, and leaves it alone when
// nothing in it changed. Returns why it was not written, or nothing.
QString preserveTask(const WriteTask &task, qsizetype languageCount, bool candidateLanguage,
                     const QString &collationLocale)
{
    const FilePlan &plan = *task.plan;
    TextFile::Failure failure = TextFile::Failure::None;
    const std::optional<DecodedText> disk = TextFile::readDecoded(task.path, &failure);
    if (!disk && failure != TextFile::Failure::Missing)
        return QCoreApplication::translate("ProjectModel", "the file on disk can no longer be read (%1)")
            .arg(TextFile::describe(failure));
    if (plan.txt) {
        const Entry *entry = plan.bases.isEmpty() ? nullptr : plan.cell(0, task.language, languageCount);
        if (!entry || (disk && disk->text == entry->value))
            return {};
        const bool written = disk ? TextFile::write(task.path, entry->value, disk->encoding, disk->byteOrderMark)
                                  : TextFile::write(task.path, entry->value);
        return written ? QString() : QCoreApplication::translate("ProjectModel", "could not be written");
    }
    if (!disk) {
        if (!hasEntries(task, languageCount))
            return {};
        return writeTask(task, languageCount) ? QString()
                                                    : QCoreApplication::translate("ProjectModel", "could not be written");
    }
    const KeyCollator collator(collationLocale);
    const PreservingWriter::Result result = PreservingWriter::edit(
        disk->text, plan.fileName, preservedEntries(task, languageCount, candidateLanguage), collator);
    switch (result.outcome) {
    case PreservingWriter::Outcome::Unchanged:
        return {};
    case PreservingWriter::Outcome::Refused:
        return QCoreApplication::translate("ProjectModel", "its layout could not be kept (%1)").arg(result.problem);
    case PreservingWriter::Outcome::Edited:
        break;
    }
    // UTF-16 without a byte-order mark is recognised by the zero bytes of its
    // ASCII; a file edited down to a few characters may no longer show enough
    // of them, and then gets a mark rather than become unreadable.
    QByteArray bytes = TextFile::encode(result.text, disk->encoding, disk->byteOrderMark);
    const std::optional<DecodedText> back = TextFile::decode(bytes);
    if (!back || back->text != result.text || back->encoding != disk->encoding)
        bytes = TextFile::encode(result.text, disk->encoding, true);
    return TextFile::writeBytes(task.path, bytes) ? QString()
                                                  : QCoreApplication::translate("ProjectModel", "could not be written");
}

} // namespace

SaveReport ProjectModel::save()
{
    SaveReport report;
    if (languages.isEmpty() || projectURL.isEmpty()) {
        lastSave = report;
        return report;
    }
    const QStringList candidates = this->candidates();
    const SaveOptions options = saveOptions ? saveOptions() : SaveOptions();
    QHash<QString, FileRows> rowsByFile = rowsPerFile();
    QStringList fileNames = rowsByFile.keys();
    std::sort(fileNames.begin(), fileNames.end());
    // Only kept files need their row keys again, for their fingerprints; the
    // plans take the others' lists over and free them once sorted.
    QSet<QString> keptNames;
    for (const KeptFile &kept : std::as_const(keptFiles))
        keptNames.insert(kept.fileName);

    std::vector<FilePlan> plans;
    for (const QString &fileName : std::as_const(fileNames)) {
        FilePlan plan;
        plan.fileName = fileName;
        plan.txt = fileName.endsWith(TxtSuffix);
        plan.keepRowKeys = options.layout == SaveLayout::Preserve;
        if (!plan.txt && !fileName.endsWith(StringsSuffix))
            continue;
        if (!plan.txt)
            plan.found = keptNames.contains(fileName) ? rowsByFile.value(fileName) : rowsByFile.take(fileName);
        plans.push_back(std::move(plan));
    }
    const LanguageTable table = languageTable(languages);
    const bool parallel = plans.size() * size_t(languages.size()) >= 16;
    forEach(plans.begin(), plans.end(), parallel,
            [&](FilePlan &plan) { plan.build(data, candidates, table, options.collationLocale); });

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
            folderProblem = QCoreApplication::translate("ProjectModel", "its folder does not exist");
        else if (!(info.canonicalFilePath() + QLatin1Char('/')).startsWith(canonicalRoot))
            folderProblem = QCoreApplication::translate("ProjectModel", "its folder leads outside the project");
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
        } else if (fingerprintOf(rowsByFile, *kept) != kept->fingerprint) {
            report.notWritten.append(
                {path, QCoreApplication::translate("ProjectModel", "changes not written: %1").arg(kept->reason)});
        }
    }
    const qsizetype languageCount = table.names.size();
    const bool preserve = options.layout == SaveLayout::Preserve;
    forEach(unique.begin(), unique.end(), parallel, [&](Task &task) {
        if (preserve && task.folderProblem.isEmpty()) {
            const bool candidateLanguage = candidates.contains(table.names.at(task.write.language));
            task.failure =
                preserveTask(task.write, languageCount, candidateLanguage, options.collationLocale);
            return;
        }
        if (!task.folderProblem.isEmpty()) {
            if (hasEntries(task.write, languageCount))
                task.failure = task.folderProblem;
            return;
        }
        if (task.write.plan->txt && !hasEntries(task.write, languageCount))
            return;
        if (!writeTask(task.write, languageCount))
            task.failure = QFileInfo(task.write.path).exists() && !QFileInfo(task.write.path).isFile()
                               ? QCoreApplication::translate("ProjectModel", "not a regular file")
                               : QCoreApplication::translate("ProjectModel", "could not be written");
    });
    for (const Task &task : std::as_const(unique))
        if (!task.failure.isEmpty())
            report.notWritten.append({task.write.path, task.failure});
    saveVariants(report, rowsByFile);
    std::sort(report.notWritten.begin(), report.notWritten.end(),
              [](const SaveFailure &a, const SaveFailure &b) { return a.path < b.path; });
    lastSave = report;
    return report;
}

QString ProjectModel::languageFolderPath(const QString &language) const
{
    const QString lproj = joinPath(projectURL, language + LprojSuffix);
    const QFileInfo info(lproj);
    if (info.exists() || info.isSymLink())
        return lproj;
    return joinPath(projectURL, language);
}

