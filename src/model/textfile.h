// Whole-file reading with encoding detection, and atomic UTF-8 writing.
#pragma once

#include <QString>
#include <optional>

class TextFile
{
public:
    // Reads the whole file. A byte-order mark decides the encoding (UTF-8,
    // UTF-16 LE/BE, UTF-32 LE/BE); without one the bytes must be valid UTF-8.
    // Returns nothing when the file cannot be read or decoded.
    static std::optional<QString> read(const QString &path);

    // Writes the text as UTF-8 without a byte-order mark, atomically: a failure
    // leaves the old file whole. A file whose bytes already equal the new bytes
    // is left untouched. Returns false when the file could not be written.
    static bool write(const QString &path, const QString &text);
};
