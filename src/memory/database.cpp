// Statements on one SQLite connection, with every value bound.
#include "database.h"

#include <sqlite3.h>

Database::Database(sqlite3 *connection) : m_connection(connection) {}

Database::~Database()
{
    for (sqlite3_stmt *statement : std::as_const(m_cache))
        sqlite3_finalize(statement);
}

bool Database::executeStatements(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    return sqlite3_exec(m_connection, text.constData(), nullptr, nullptr, nullptr)
           == SQLITE_OK;
}

sqlite3_stmt *Database::prepare(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_connection, text.constData(), int(text.size()),
                           &statement, nullptr)
            != SQLITE_OK
        || !statement) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

sqlite3_stmt *Database::prepareCached(const QString &sql)
{
    if (sqlite3_stmt *cached = m_cache.value(sql))
        return cached;
    sqlite3_stmt *statement = prepare(sql);
    if (!statement)
        return nullptr;
    // Scans produce one statement text per set of languages; keep the cache small.
    if (m_cache.size() >= MaxCachedStatements) {
        for (sqlite3_stmt *old : std::as_const(m_cache))
            sqlite3_finalize(old);
        m_cache.clear();
    }
    m_cache.insert(sql, statement);
    return statement;
}

bool Database::bindAll(sqlite3_stmt *statement, const QVariantList &values)
{
    if (sqlite3_bind_parameter_count(statement) != values.size())
        return false;
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const int slot = i + 1;
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(statement, slot);
        } else {
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(statement, slot, value.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(statement, slot, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob64(statement, slot, bytes.constData(),
                                         sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray bytes = value.toString().toUtf8();
                rc = sqlite3_bind_text64(statement, slot, bytes.constData(),
                                         sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT,
                                         SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

bool Database::executeUpdate(const QString &sql, const QVariantList &values)
{
    sqlite3_stmt *statement = prepareCached(sql);
    if (!statement)
        return false;
    bool ok = bindAll(statement, values);
    if (ok) {
        int rc = sqlite3_step(statement);
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(statement);
        ok = rc == SQLITE_DONE;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return ok;
}

std::optional<ResultSet> Database::executeQuery(const QString &sql, const QVariantList &values,
                                                QString *error)
{
    sqlite3_stmt *statement = prepare(sql);
    if (!statement) {
        if (error)
            *error = lastErrorMessage();
        return std::nullopt;
    }
    if (!bindAll(statement, values)) {
        if (error)
            *error = QStringLiteral("values do not match the statement's parameters");
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    return ResultSet(statement);
}

std::optional<ResultSet> Database::executeCachedQuery(const QString &sql, const QVariantList &values)
{
    sqlite3_stmt *statement = prepareCached(sql);
    if (!statement)
        return std::nullopt;
    if (!bindAll(statement, values)) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        return std::nullopt;
    }
    return ResultSet(statement, true);
}

bool Database::executeOnce(const QString &sql)
{
    if (m_done.contains(sql))
        return true;
    if (!executeStatements(sql))
        return false;
    m_done.insert(sql);
    return true;
}

bool Database::beginTransaction() { return executeStatements(QStringLiteral("BEGIN")); }

bool Database::commit() { return executeStatements(QStringLiteral("COMMIT")); }

bool Database::rollback() { return executeStatements(QStringLiteral("ROLLBACK")); }

bool Database::isInTransaction() const { return sqlite3_get_autocommit(m_connection) == 0; }

bool Database::isReadOnly() const { return sqlite3_db_readonly(m_connection, "main") == 1; }

QString Database::lastErrorMessage() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_connection));
}

int Database::lastErrorCode() const { return sqlite3_errcode(m_connection); }
