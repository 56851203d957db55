// Filling rows from the translation memory: fillFromMemory for one row key,
// and the autoTranslate and autoTranslateSelected commands built on it.
#pragma once

#include "editor/commandoutcome.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ProjectModel;

// A memory lookup: the record whose `column` matches `text`, as column or
// language code to text; nothing when there is none or the memory is closed.
using MemoryLookup = std::function<std::optional<QMap<QString, QString>>(const QString &column,
                                                                         const QString &text)>;

class MemoryFill
{
public:
    // The lookup of the shared translation memory (DatabaseManagerV2).
    static MemoryLookup sharedMemory();

    // Looks the row's base value up in the column of each base-language
    // candidate in turn; the first record found sets every project language
    // whose code it holds (replacing what was there) from the base entry's key
    // and comment and the record's text, except where that text's format
    // specifiers do not match the base text's (TranslationCheck::
    // specifiersMatch): such a language keeps what it had, a line is logged,
    // and it is counted. Rows without a base entry stay. Returns the count.
    static int fillFromMemory(ProjectModel &model, const QString &rowKey,
                               const QStringList &candidates, const MemoryLookup &lookup);

    // Every row key of keys, in order: rows holding an entry for every
    // project language are logged ("Already fully translated: <key>") and
    // skipped; the others are filled. Then saves; one reload. Texts left out
    // for their specifiers are told in the outcome's message.
    static CommandOutcome autoTranslate(ProjectModel &model, const MemoryLookup &lookup);

    // Fills the selected rows, then saves; one reload; the message as for
    // autoTranslate. Nothing selected: nothing happens.
    static CommandOutcome autoTranslateSelected(ProjectModel &model, const QList<int> &selection,
                                                const MemoryLookup &lookup);

    // "" for none, else one line telling how many texts were left out.
    static QString refusedMessage(int refused);
};
