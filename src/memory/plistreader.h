// Reads .strings files as old-style property lists: a flat map of texts with
// every escape resolved (unlike the project reader, which keeps them as written).
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

// Keys in the order of their first occurrence, each with its last text.
using PlistStrings = QList<QPair<QString, QString>>;

class PlistReader
{
public:
    // Files larger than this are not read.
    static constexpr qint64 MaxFileSize = 64LL * 1024 * 1024;

    // None when the file cannot be read or parse() gives none.
    static std::optional<PlistStrings> readFile(const QString &path);
    // UTF-8 or UTF-16 (byte-order mark, or UTF-16 recognised by its zero
    // bytes) holding `"key" = "text";` pairs, optionally inside one pair of
    // braces, with /* */ and // comments. Anything else (XML or binary
    // property lists, nested values, malformed or truncated text) gives none.
    static std::optional<PlistStrings> parse(const QByteArray &bytes);
    // The text form of parse(), for text already decoded.
    static std::optional<PlistStrings> parseText(QStringView text);
};
