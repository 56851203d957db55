// Rows of one query, read one at a time from a prepared SQLite statement.
#pragma once

#include <QString>
#include <optional>

struct sqlite3_stmt;

// Owns its statement and finalises it when closed or destroyed. Valid only
// inside the exclusive access in which the query ran.
class ResultSet
{
public:
    // A cached statement (`reusable`) is reset when the result set closes,
    // not finalised: its connection keeps it for the next query.
    explicit ResultSet(sqlite3_stmt *statement, bool reusable = false);
    ~ResultSet();
    ResultSet(ResultSet &&other) noexcept;
    ResultSet &operator=(ResultSet &&other) noexcept;
    ResultSet(const ResultSet &) = delete;
    ResultSet &operator=(const ResultSet &) = delete;

    // Moves to the next row; false at the end, on an error, or once closed.
    bool next();
    // True when stepping stopped on an error rather than at the end.
    bool failed() const;

    int columnCount() const;
    QString columnNameForIndex(int index) const;
    // The current row's value as text; none for NULL or an unknown column.
    std::optional<QString> stringForColumnIndex(int index) const;
    std::optional<QString> stringForColumn(const QString &name) const;
    bool isNull(int index) const;

    void close();

private:
    sqlite3_stmt *m_statement = nullptr;
    bool m_failed = false;
    bool m_reusable = false;
};
