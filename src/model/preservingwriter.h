// The layout-preserving writer: edits a .strings text where the model differs
// from it and leaves every other character as it stands.
#pragma once

#include "model/entry.h"

#include <QList>
#include <QString>
#include <QStringView>

class KeyCollator;
struct StringsContent;

// One entry the file must hold after the edit.
struct PreservedEntry
{
    // The key the entry had when the project was loaded (the row key's key),
    // which finds it in the file; a key the file lacks makes a new entry.
    QString loadedKey;
    Entry entry;          // the key, value and comment to hold
    bool ownsComment = false; // a differing comment in the file is replaced
};

class PreservingWriter
{
public:
    enum class Outcome { Unchanged, Edited, Refused };
    struct Result
    {
        Outcome outcome = Outcome::Unchanged;
        QString text;    // the edited text when Edited
        QString problem; // one line when Refused
    };

    // Edits `text` so that it holds exactly the wanted entries:
    // - a changed value replaces only the text between its quotes (a bare or
    //   single-quoted token becomes a double-quoted one);
    // - a changed key replaces only the key's text;
    // - an entry that is not wanted is removed with its attached comment
    //   (a /* */ block, or // lines right above it), its line and, between
    //   blank lines, one blank line;
    // - a new entry goes to its sorted place when the file's keys are sorted
    //   (by the collator or by code points), else after the last entry, in
    //   the neighbouring entry's style (indent, spacing, comment form, blank
    //   lines, line ends).
    // Values, keys and comments are escaped as StringsWriter escapes them.
    // An entry occurring twice is edited where it wins (its last occurrence);
    // the earlier ones go when it changes. When an edit in a line shared by
    // several entries would change how the line reads, the changed entries
    // are put on lines of their own. Refused, with the reason, when the
    // text holds what the reader cannot place, or when the edited text would
    // not read back as the wanted entries.
    static Result edit(QStringView text, const QString &fileName, const QList<PreservedEntry> &wanted,
                       const KeyCollator &collator);

    // The key as the project holds it after loading: keys with escapes in the
    // one spelling HeldText gives them.
    static QString loadedFormOf(const QString &key);

private:
    // One try of edit(); with ownLines, each changed entry that shares its
    // line with other text is given a line of its own.
    static Result attempt(QStringView text, const StringsContent &content, const QString &fileName,
                          const QList<PreservedEntry> &wanted, const KeyCollator &collator, bool ownLines);
};
