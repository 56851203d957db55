// The project reader of .strings text: finds every entry of the form
// "key" = "value"; with its optional /* comment */, keeping escapes as written.
#pragma once

#include "model/entry.h"

#include <QList>
#include <QStringView>

class StringsReader
{
public:
    // Entries in file order. Runs in time linear in the text's length.
    // Entries with an empty value are dropped; an empty comment reads as absent.
    static QList<Entry> parse(QStringView text);
};
