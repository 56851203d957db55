// Helpers of the model tests: readable failure output for Qt texts, and a
// capture of standard output (where log lines go).
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <cstdio>
#include <ostream>
#include <unistd.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *os << (i ? ", \"" : "\"") << texts.at(i).toStdString() << '"';
    *os << ']';
}

// Captures what the process writes to standard output while the object lives,
// by pointing file descriptor 1 at a temporary file.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        m_file.open();
        std::fflush(stdout);
        m_saved = dup(1);
        dup2(m_file.handle(), 1);
    }
    ~StdoutCapture() { restore(); }

    // Stops capturing and returns the captured lines (without a final empty one).
    QStringList lines()
    {
        restore();
        m_file.seek(0);
        QString text = QString::fromUtf8(m_file.readAll());
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        dup2(m_saved, 1);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};
