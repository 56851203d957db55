// One SQLite connection as seen by work running on the database queue:
// statements with bound values, queries, transactions.
#pragma once

#include "memory/resultset.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariantList>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// Values are always bound (QString as text, integers, doubles, QByteArray as
// blob, a null QVariant as NULL); statement texts never carry data.
class Database
{
public:
    explicit Database(sqlite3 *connection);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Runs fixed statement text holding one or more statements, without values.
    bool executeStatements(const QString &sql);
    // One statement that returns no rows. Prepared statements are cached per text.
    bool executeUpdate(const QString &sql, const QVariantList &values = {});
    // One statement that returns rows; none (with the reason in *error) when it
    // cannot be prepared or a value cannot be bound.
    std::optional<ResultSet> executeQuery(const QString &sql, const QVariantList &values = {},
                                          QString *error = nullptr);
    // executeQuery() with the statement prepared once per connection and
    // kept: for a query run over and over with other values.
    std::optional<ResultSet> executeCachedQuery(const QString &sql, const QVariantList &values = {});
    // Runs fixed statement text until it has once succeeded on this
    // connection; later calls return true at no cost.
    bool executeOnce(const QString &sql);

    bool beginTransaction();
    bool commit();
    bool rollback();
    bool isInTransaction() const;

    bool isReadOnly() const;
    QString lastErrorMessage() const;
    int lastErrorCode() const;

    static constexpr qsizetype MaxCachedStatements = 64;

private:
    // A new statement, or null when the text does not compile.
    sqlite3_stmt *prepare(const QString &sql);
    sqlite3_stmt *prepareCached(const QString &sql);
    bool bindAll(sqlite3_stmt *statement, const QVariantList &values);

    sqlite3 *m_connection;
    QHash<QString, sqlite3_stmt *> m_cache;
    QSet<QString> m_done;
};
