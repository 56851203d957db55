// The localization record read from and written to project files.
#pragma once

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
