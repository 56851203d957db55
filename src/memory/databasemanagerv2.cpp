// The translation memory's database: schema, stored and query encodings,
// storing harvests and finding the best record for a text.
#include "databasemanagerv2.h"

#include "common/languages.h"
#include "common/logtext.h"
#include "memory/scanner.h"
#include "common/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QtConcurrent/QtConcurrentRun>
#include <sqlite3.h>

namespace {

QMutex s_defaultPathMutex;
QString s_defaultPath;

// The 81 characters RFC 3986 allows unescaped in a URL query.
bool isQueryCharacter(uchar c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '-': case '.': case '_': case '~': case '!': case '$': case '&': case '\'':
    case '(': case ')': case '*': case '+': case ',': case ';': case '=': case ':':
    case '@': case '/': case '?':
        return true;
    default:
        return false;
    }
}

QString percentEncode(const QString &text)
{
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() * 3);
    for (const char byte : utf8) {
        const auto c = uchar(byte);
        if (isQueryCharacter(c)) {
            out.append(char(c));
        } else {
            out.append('%');
            out.append(hex[c >> 4]);
            out.append(hex[c & 0xF]);
        }
    }
    return QString::fromLatin1(out);
}

int hexValue(char u)
{
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QString describe(const QMap<QString, QString> &map)
{
    QStringList parts;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << it.key() + QStringLiteral(": \"") + logText(it.value()) + QLatin1Char('"');
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QString schemaStatement()
{
    QStringList columns;
    for (const QString &code : Languages::sortedCodes())
        columns << code + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ") + DatabaseManagerV2::TableName
           + QStringLiteral(" (idx INTEGER PRIMARY KEY, ") + DatabaseManagerV2::KeyColumn
           + QStringLiteral(" TEXT UNIQUE, ") + columns.join(QStringLiteral(", "))
           + QLatin1Char(')');
}

// Damaged pages, or nothing. Opening reads the first page only, so garbage
// further in would otherwise pass for a memory without matches. quick_check
// reads each page once and skips the costly index cross-checks.
std::optional<QString> damage(Database &db)
{
    QString error;
    auto rows = db.executeQuery(QStringLiteral("PRAGMA quick_check(1)"), {}, &error);
    if (!rows)
        return error;
    if (!rows->next())
        return rows->failed() ? db.lastErrorMessage()
                              : QCoreApplication::translate("DatabaseManagerV2", "its check gives no verdict");
    QString verdict = rows->stringForColumnIndex(0).value_or(QString());
    if (verdict == QLatin1String("ok"))
        return std::nullopt;
    // "*** in database main ***\nPage 58: ..." names the first bad page.
    verdict.remove(QStringLiteral("*** in database main ***"));
    verdict = verdict.trimmed().section(QLatin1Char('\n'), 0, 0);
    return QCoreApplication::translate("DatabaseManagerV2", "the file is damaged (%1)").arg(verdict);
}

// Columns an existing table lacks, or nothing. A table made by another
// program under this name would otherwise fail every insert and lookup as if
// it were merely empty. Extra columns do no harm.
std::optional<QString> foreignTable(Database &db)
{
    QString error;
    auto rows = db.executeQuery(QStringLiteral("PRAGMA table_info(")
                                    + DatabaseManagerV2::TableName + QLatin1Char(')'),
                                {}, &error);
    if (!rows)
        return error;
    QSet<QString> present;
    while (rows->next())
        present.insert(rows->stringForColumn(QStringLiteral("name")).value_or(QString()).toLower());
    if (rows->failed())
        return db.lastErrorMessage();
    QStringList missing;
    const QStringList wanted =
        QStringList{QStringLiteral("idx"), DatabaseManagerV2::KeyColumn} + Languages::sortedCodes();
    for (const QString &column : wanted)
        if (!present.contains(column.toLower()))
            missing << column;
    if (missing.isEmpty())
        return std::nullopt;
    constexpr qsizetype shown = 5;
    QString names = missing.mid(0, shown).join(QStringLiteral(", "));
    if (missing.size() > shown)
        names = QCoreApplication::translate("DatabaseManagerV2", "%1 and %2 more")
                    .arg(names, QString::number(missing.size() - shown));
    return QCoreApplication::translate("DatabaseManagerV2",
                                       "its table %1 was made by another program: it lacks the columns %2")
        .arg(DatabaseManagerV2::TableName, names);
}

// Why the file cannot serve as the memory, or nothing when it can: its pages
// must be sound, the table must exist (or be created) with Verbalo's columns,
// and the file must take writes.
std::optional<QString> prepareSchema(DatabaseQueue &queue)
{
    std::optional<QString> problem;
    queue.inDatabase([&](Database &db) {
        if (db.isReadOnly())
            problem = QCoreApplication::translate("DatabaseManagerV2", "the file is read-only");
        else
            problem = damage(db);
    });
    if (problem)
        return problem;
    const bool created = queue.inTransaction([&](Database &db, bool &rollback) {
        db.executeStatements(QStringLiteral("PRAGMA encoding = 'UTF-8';"));
        if (!db.executeUpdate(schemaStatement())) {
            problem = db.lastErrorMessage();
            rollback = true;
        }
    });
    if (problem)
        return problem;
    if (!created)
        return QCoreApplication::translate("DatabaseManagerV2", "the table cannot be created");
    queue.inDatabase([&](Database &db) { problem = foreignTable(db); });
    if (problem)
        return problem;
    // An existing table needs no write above; a table created and rolled back
    // shows whether the file (and its journal beside it) can be written.
    queue.inTransaction([&](Database &db, bool &rollback) {
        rollback = true;
        if (!db.executeStatements(QStringLiteral("CREATE TABLE IF NOT EXISTS verbalo_write_probe (x)")))
            problem = db.lastErrorMessage();
    });
    return problem;
}

// Failures that only one record's texts can cause; any other failure of an
// insert concerns the file or its locks.
bool concernsOneRecord(int code)
{
    switch (code & 0xff) {
    case SQLITE_TOOBIG: case SQLITE_CONSTRAINT: case SQLITE_MISMATCH: case SQLITE_RANGE:
        return true;
    default:
        return false;
    }
}

} // namespace

DatabaseManagerV2 &DatabaseManagerV2::shared()
{
    // Lives to the end of the process; its connection is never closed early.
    static DatabaseManagerV2 *const instance = new DatabaseManagerV2(defaultPath());
    return *instance;
}

void DatabaseManagerV2::setDefaultPath(const QString &path)
{
    QMutexLocker lock(&s_defaultPathMutex);
    s_defaultPath = path;
}

QString DatabaseManagerV2::defaultPath()
{
    {
        QMutexLocker lock(&s_defaultPathMutex);
        if (!s_defaultPath.isEmpty())
            return s_defaultPath;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("com.brenquil.verbalo/i18n-v2.sqlite"));
}

DatabaseManagerV2::DatabaseManagerV2(const QString &path, QObject *parent)
    : QObject(parent), m_path(path)
{
    m_queue.setObjectName(QStringLiteral("com.brenquil.scan"));
    m_queue.setMaxThreadCount(1);

    // A failure here shows up, with its reason, when the file is opened.
    QDir().mkpath(QFileInfo(path).absolutePath());

    QString error;
    m_db = DatabaseQueue::open(path, &error);
    std::optional<QString> problem;
    if (!m_db)
        problem = error;
    else
        problem = prepareSchema(*m_db);
    if (problem) {
        m_db.reset();
        m_closedReason = *problem;
        Log::line(QStringLiteral("Translation memory off: cannot use ") + path
                  + QStringLiteral(": ") + *problem);
        return;
    }
    Log::debug(QStringLiteral("Database: "), path);
}

DatabaseManagerV2::~DatabaseManagerV2() { m_queue.waitForDone(); }

QString DatabaseManagerV2::databasePath() const { return m_db ? m_db->path() : m_path; }

bool DatabaseManagerV2::isOpen() const { return m_db != nullptr; }

QString DatabaseManagerV2::closedReason() const { return m_closedReason; }

DatabaseQueue *DatabaseManagerV2::db() const { return m_db.get(); }

QString DatabaseManagerV2::encodeStored(const QString &text)
{
    QString encoded = percentEncode(text);
    encoded.replace(QStringLiteral("%5Cn"), QStringLiteral("%0A"));
    return encoded;
}

QString DatabaseManagerV2::encodeQuery(const QString &text)
{
    QString encoded = percentEncode(text);
    encoded.replace(QStringLiteral("%5Cn"), QStringLiteral("%0A"));
    encoded.replace(QStringLiteral("%5C%22"), QStringLiteral("%22"));
    encoded.replace(QStringLiteral("%5C'"), QStringLiteral("'"));
    return encoded;
}

std::optional<QString> DatabaseManagerV2::decode(const QString &stored)
{
    const QByteArray in = stored.toUtf8();
    QByteArray bytes;
    bytes.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) != '%') {
            bytes.append(in.at(i));
            continue;
        }
        if (i + 2 >= in.size())
            return std::nullopt;
        const int high = hexValue(in.at(i + 1));
        const int low = hexValue(in.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

int DatabaseManagerV2::storeTranslations(const Harvest &harvest, QString *error)
{
    if (harvest.isEmpty() || !m_db)
        return 0;
    QElapsedTimer timer;
    timer.start();
    const QString count = QString::number(harvest.size());
    Log::line(QStringLiteral("Saving to database ") + count + QStringLiteral(" items"));

    int stored = 0;
    QString statementFailure;
    QString transactionFailure;
    const bool committed = m_db->inTransaction([&](Database &db, bool &rollback) {
        for (auto it = harvest.cbegin(); it != harvest.cend(); ++it) {
            // Column names go into the statement text, so only the fixed codes qualify.
            QStringList columns{KeyColumn};
            QVariantList values{encodeStored(it.key())};
            const QMap<QString, QString> &texts = it.value();
            for (auto text = texts.cbegin(); text != texts.cend(); ++text) {
                if (!Languages::isKnownCode(text.key()))
                    continue;
                columns << text.key();
                values << encodeStored(text.value());
            }
            if (columns.size() < 3) {
                Log::line(QStringLiteral("Skipping: \"") + logText(it.key()) + QStringLiteral("\" ")
                          + describe(texts));
                continue;
            }
            QStringList placeholders;
            placeholders.fill(QStringLiteral("?"), columns.size());
            const QString sql = QStringLiteral("INSERT OR REPLACE INTO ") + TableName
                                + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
                                + QStringLiteral(") VALUES (") + placeholders.join(QStringLiteral(", "))
                                + QLatin1Char(')');
            if (db.executeUpdate(sql, values)) {
                ++stored;
                continue;
            }
            Log::line(QStringLiteral("Couldn't store \"") + logText(it.key()) + QStringLiteral("\": ")
                      + db.lastErrorMessage());
            // A lock held elsewhere, a full disk or a damaged file fails every
            // later record too (each after the busy wait); only a fault of this
            // record's own texts is worth going on past.
            if (!concernsOneRecord(db.lastErrorCode())) {
                statementFailure = db.lastErrorMessage();
                rollback = true;
                return;
            }
        }
        Log::line(QStringLiteral("Database for ") + count + QStringLiteral(" took: ")
                  + QString::number(double(timer.nsecsElapsed()) / 1e9, 'f', 6));
    }, &transactionFailure);
    if (committed)
        return stored;

    QString reason = !statementFailure.isEmpty() ? statementFailure : transactionFailure;
    if (reason.isEmpty())
        reason = QCoreApplication::translate("DatabaseManagerV2", "the transaction could not be committed");
    Log::line(QStringLiteral("Nothing of ") + count + QStringLiteral(" items was stored: ")
              + reason);
    if (error)
        *error = reason;
    return 0;
}

namespace {

// What a record's columns put into its lookup map: each column its own name,
// and a language alias too (en_US also fills en). Worked out once per column.
struct ColumnKeys
{
    QString name;
    std::optional<QString> alias;
    int nameId = 0;
    int aliasId = -1;
};

const QList<ColumnKeys> &columnKeys(const ResultSet &rows)
{
    // The table's columns are fixed for the connection's schema; the names
    // are the same for every lookup.
    static thread_local QList<ColumnKeys> keys;
    static thread_local QStringList names;
    const int count = rows.columnCount();
    bool same = names.size() == count;
    for (int i = 0; same && i < count; ++i)
        same = names.at(i) == rows.columnNameForIndex(i);
    if (same)
        return keys;
    keys.clear();
    names.clear();
    QHash<QString, int> ids;
    const auto id = [&ids](const QString &key) {
        const auto it = ids.constFind(key);
        return it != ids.cend() ? *it : int(ids.insert(key, int(ids.size())).value());
    };
    for (int i = 0; i < count; ++i) {
        ColumnKeys column;
        column.name = rows.columnNameForIndex(i);
        column.alias = Languages::languageForName(column.name);
        column.nameId = id(column.name);
        if (column.alias)
            column.aliasId = id(*column.alias);
        keys.append(column);
        names.append(column.name);
    }
    return keys;
}

} // namespace

std::optional<QMap<QString, QString>> DatabaseManagerV2::lookup(Database &db, const QString &column,
                                                                const QString &text)
{
    if (!Languages::isKnownCode(column))
        return std::nullopt;
    // The column is one of the fixed codes, so naming it in statement text is safe.
    db.executeOnce(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + TableName + QLatin1Char('_')
                   + column + QStringLiteral(" ON ") + TableName + QStringLiteral(" (") + column
                   + QLatin1Char(')'));
    const QString sql = QStringLiteral("SELECT * FROM ") + TableName + QStringLiteral(" WHERE ")
                        + column + QStringLiteral(" = ?");
    const QString encoded = encodeQuery(text);
    Log::debug(sql + QStringLiteral(" with "), encoded);
    auto rows = db.executeCachedQuery(sql, {encoded});
    if (!rows)
        return std::nullopt;
    const QList<ColumnKeys> &keys = columnKeys(*rows);

    // The best record has the most map entries; a record's map holds a key
    // for every text it has and every alias those texts give. Counting them
    // needs no text: only the record chosen is read and decoded.
    std::vector<bool> present;
    qsizetype bestCount = 0;
    QList<std::pair<int, QString>> bestStored; // column index, stored text
    while (rows->next()) {
        present.assign(size_t(keys.size()) * 2 + 1, false);
        qsizetype count = 0;
        for (int i = 0; i < keys.size(); ++i) {
            if (rows->isNull(i))
                continue;
            for (const int id : {keys.at(i).nameId, keys.at(i).aliasId}) {
                if (id >= 0 && !present[size_t(id)]) {
                    present[size_t(id)] = true;
                    ++count;
                }
            }
        }
        if (count > bestCount) {
            bestCount = count;
            bestStored.clear();
            for (int i = 0; i < keys.size(); ++i)
                if (const auto stored = rows->stringForColumnIndex(i))
                    bestStored.append({i, *stored});
        }
    }
    const bool failed = rows->failed();
    rows->close();
    if (failed || bestStored.isEmpty())
        return std::nullopt;

    QMap<QString, QString> best;
    for (const auto &[index, stored] : std::as_const(bestStored)) {
        const auto decoded = decode(stored);
        // A text other tools left undecodable counts for nothing; the record
        // might then not be the best, so every record is weighed by its texts.
        if (!decoded)
            return lookupDecodingAll(db, sql, encoded);
        const ColumnKeys &key = keys.at(index);
        Log::debug(QStringLiteral("Got ") + key.name + QStringLiteral(" == "), logText(*decoded));
        best.insert(key.name, *decoded);
        if (key.alias)
            best.insert(*key.alias, *decoded);
    }
    Log::debug(QStringLiteral("Best: "), describe(best));
    return best;
}

std::optional<QMap<QString, QString>> DatabaseManagerV2::lookupDecodingAll(Database &db, const QString &sql,
                                                                           const QString &encoded)
{
    auto rows = db.executeCachedQuery(sql, {encoded});
    if (!rows)
        return std::nullopt;
    const QList<ColumnKeys> &keys = columnKeys(*rows);
    std::optional<QMap<QString, QString>> best;
    while (rows->next()) {
        QMap<QString, QString> map;
        for (int i = 0; i < keys.size(); ++i) {
            const auto stored = rows->stringForColumnIndex(i);
            if (!stored)
                continue;
            const auto decoded = decode(*stored);
            if (!decoded)
                continue;
            map.insert(keys.at(i).name, *decoded);
            if (keys.at(i).alias)
                map.insert(*keys.at(i).alias, *decoded);
        }
        if ((!best && !map.isEmpty()) || (best && map.size() > best->size()))
            best = std::move(map);
    }
    rows->close();
    Log::debug(QStringLiteral("Best: "), best ? describe(*best) : QString());
    return best;
}

std::optional<QMap<QString, QString>> DatabaseManagerV2::lookupText(const QString &column,
                                                                    const QString &text)
{
    if (!m_db)
        return std::nullopt;
    std::optional<QMap<QString, QString>> result;
    m_db->inDatabase([&](Database &db) { result = lookup(db, column, text); });
    return result;
}

QFuture<ScanResult> DatabaseManagerV2::scan(const QString &folder)
{
    return QtConcurrent::run(&m_queue, [this, folder] {
        const ScanResult result = Scanner::run(*this, folder, [this](int done, int found) {
            emit scanProgress(done, found);
        });
        if (!result.failure.isEmpty())
            emit scanFailed(result.failure);
        emit scanFinished(result.groups, result.keysStored);
        return result;
    });
}
