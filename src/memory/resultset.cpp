// Reading the rows of a prepared statement.
#include "resultset.h"

#include <sqlite3.h>
#include <utility>

ResultSet::ResultSet(sqlite3_stmt *statement, bool reusable) : m_statement(statement), m_reusable(reusable) {}

ResultSet::~ResultSet() { close(); }

ResultSet::ResultSet(ResultSet &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)), m_failed(other.m_failed), m_reusable(other.m_reusable)
{
}

ResultSet &ResultSet::operator=(ResultSet &&other) noexcept
{
    if (this != &other) {
        close();
        m_statement = std::exchange(other.m_statement, nullptr);
        m_failed = other.m_failed;
        m_reusable = other.m_reusable;
    }
    return *this;
}

bool ResultSet::next()
{
    if (!m_statement)
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_failed = true;
    return false;
}

bool ResultSet::failed() const { return m_failed; }

int ResultSet::columnCount() const
{
    return m_statement ? sqlite3_column_count(m_statement) : 0;
}

QString ResultSet::columnNameForIndex(int index) const
{
    if (!m_statement || index < 0 || index >= columnCount())
        return {};
    return QString::fromUtf8(sqlite3_column_name(m_statement, index));
}

std::optional<QString> ResultSet::stringForColumnIndex(int index) const
{
    if (!m_statement || index < 0 || index >= columnCount())
        return std::nullopt;
    if (sqlite3_column_type(m_statement, index) == SQLITE_NULL)
        return std::nullopt;
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, index));
    const int bytes = sqlite3_column_bytes(m_statement, index);
    if (!text)
        return QString();
    return QString::fromUtf8(text, bytes);
}

bool ResultSet::isNull(int index) const
{
    return !m_statement || sqlite3_column_type(m_statement, index) == SQLITE_NULL;
}

std::optional<QString> ResultSet::stringForColumn(const QString &name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (columnNameForIndex(i) == name)
            return stringForColumnIndex(i);
    }
    return std::nullopt;
}

void ResultSet::close()
{
    if (m_statement) {
        if (m_reusable) {
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
        } else {
            sqlite3_finalize(m_statement);
        }
        m_statement = nullptr;
    }
}
