// What a .strings file holds, as the project reads it: the entries its line
// rules find, completed with the pairs the property-list grammar reads where
// those rules skip text (values over several lines, unquoted keys, entries
// followed by a // comment), and whether every pair of the file was placed.
#pragma once

#include "model/row.h"
#include "model/stringsreader.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <vector>

struct StringsContent
{
    QList<Entry> entries;          // in file order; a later entry of a key wins
    std::vector<EntrySpan> spans;  // where each entry stands
    // False when the file holds text that neither the line rules nor the
    // grammar could turn into entries, or that the two read differently:
    // rewriting such a file from its entries could lose what it holds.
    bool complete = true;
    QString problem;               // why not complete: one line naming the line

    // Entries read by the line rules are held exactly as written between the
    // quotes. The pairs added from the grammar are held as the writer writes
    // them: as written, but with line breaks between the quotes as escapes;
    // a pair in single quotes as the escaped form of its text. Either way a
    // save puts back the text the grammar reads.
    static StringsContent read(QStringView text);
};
