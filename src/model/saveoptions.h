// How a save lays out the files it writes: the layout, and the locale whose
// collation orders the keys of a rewritten file.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

enum class SaveLayout {
    // Every file regenerated from the model: sorted keys, a comment line and
    // a blank line per entry, UTF-8.
    Canonical,
    // Only the entries that changed are edited in the file as it stands on
    // disk; every other byte, its encoding and byte-order mark stay.
    Preserve,
};

struct SaveOptions
{
    SaveLayout layout = SaveLayout::Canonical;
    // The locale whose collation orders keys (an ICU locale name such as
    // "en" or "de_DE"); empty: the current locale.
    QString collationLocale;

    static std::optional<SaveLayout> layoutNamed(QStringView name)
    {
        if (name == u"canonical")
            return SaveLayout::Canonical;
        if (name == u"preserve")
            return SaveLayout::Preserve;
        return std::nullopt;
    }
    static QString nameOf(SaveLayout layout)
    {
        return layout == SaveLayout::Preserve ? QStringLiteral("preserve") : QStringLiteral("canonical");
    }
};
