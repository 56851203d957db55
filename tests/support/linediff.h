// The lines one edit changed: what stands between the lines two texts share
// at their start and at their end. Header-only, for the document tests.
#pragma once

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <ostream>

struct LineDiff
{
    QList<QByteArray> removed;
    QList<QByteArray> added;

    friend bool operator==(const LineDiff &, const LineDiff &) = default;
};

inline LineDiff diffLines(const QByteArray &before, const QByteArray &after)
{
    const QList<QByteArray> a = before.split('\n');
    const QList<QByteArray> b = after.split('\n');
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    return {a.mid(head, a.size() - head - tail), b.mid(head, b.size() - head - tail)};
}

inline void PrintTo(const LineDiff &diff, std::ostream *os)
{
    for (const QByteArray &line : diff.removed)
        *os << "\n- " << line.toStdString();
    for (const QByteArray &line : diff.added)
        *os << "\n+ " << line.toStdString();
}
