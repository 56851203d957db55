// The localization record read from and written to project files, and the row
// type that groups one key's entries by language name.
#pragma once

#include <QMap>
#include <QString>
#include <optional>

// Texts are held exactly as written between the quotes of a .strings file:
// escapes are not interpreted. An absent comment differs from an empty one.
struct Entry
{
    QString key;
    QString value;
    std::optional<QString> comment;

    friend bool operator==(const Entry &, const Entry &) = default;
};

// Language name ("en", "Base", "pt-BR", ...) to that language's entry.
using Row = QMap<QString, Entry>;
