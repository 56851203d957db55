// Surgical edits of a .strings text from the spans its entries stand in.
#include "model/preservingwriter.h"

#include "model/heldtext.h"
#include "model/keycollator.h"
#include "model/projectfiles.h"
#include "model/stringscontent.h"
#include "model/stringswriter.h"
#include "model/textorder.h"

#include <QHash>
#include <algorithm>
#include <functional>

namespace {

bool isLineBreak(QChar c) { return c == u'\n' || c == u'\r'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// One replacement of [start, end) by text; start == end inserts.
struct Edit
{
    qsizetype start;
    qsizetype end;
    QString text;
    qsizetype order; // among insertions at one place, the order they were made
};

// Line structure of the text: only CR, LF and CRLF end lines here, which is
// what editors and version control count.
class Lines
{
public:
    explicit Lines(QStringView text) : m_text(text) {}

    qsizetype startOf(qsizetype at) const
    {
        while (at > 0 && !isLineBreak(m_text[at - 1]))
            --at;
        return at;
    }
    // Where the line that holds `at` ends (its line break, or the text's end).
    qsizetype breakOf(qsizetype at) const
    {
        while (at < m_text.size() && !isLineBreak(m_text[at]))
            ++at;
        return at;
    }
    // The start of the next line: after the break at `at` (CRLF is one break).
    qsizetype afterBreak(qsizetype at) const
    {
        if (at >= m_text.size())
            return at;
        if (m_text[at] == u'\r' && at + 1 < m_text.size() && m_text[at + 1] == u'\n')
            return at + 2;
        return at + 1;
    }
    qsizetype nextLine(qsizetype at) const { return afterBreak(breakOf(at)); }
    // The start of the line before the line starting at `lineStart` (> 0).
    qsizetype previousLine(qsizetype lineStart) const
    {
        qsizetype at = lineStart - 1;
        if (at > 0 && m_text[at] == u'\n' && m_text[at - 1] == u'\r')
            --at;
        return startOf(at);
    }
    bool isBlankLine(qsizetype lineStart) const
    {
        const qsizetype end = breakOf(lineStart);
        for (qsizetype i = lineStart; i < end; ++i)
            if (!isBlank(m_text[i]))
                return false;
        return true;
    }
    bool onlyBlanksBetween(qsizetype from, qsizetype to) const
    {
        for (qsizetype i = from; i < to; ++i)
            if (!isBlank(m_text[i]))
                return false;
        return true;
    }
    // Whether the line is a // comment.
    bool isLineComment(qsizetype lineStart) const
    {
        qsizetype i = lineStart;
        while (i < m_text.size() && isBlank(m_text[i]))
            ++i;
        return i + 1 < m_text.size() && m_text[i] == u'/' && m_text[i + 1] == u'/';
    }

private:
    QStringView m_text;
};

// How the token of a key or value is written: its quote (0: bare), and the
// span of the whole token, quotes included.
struct Token
{
    char16_t quote = 0;
    qsizetype start = 0;
    qsizetype end = 0;
};

Token tokenAt(QStringView text, qsizetype inner, qsizetype innerEnd)
{
    if (inner > 0 && innerEnd < text.size()) {
        const QChar before = text[inner - 1];
        if ((before == u'"' || before == u'\'') && text[innerEnd] == before)
            return {before.unicode(), inner - 1, innerEnd + 1};
    }
    return {0, inner, innerEnd};
}

bool sameKey(const QString &a, const QString &b)
{
    if (!a.contains(u'\\') && !b.contains(u'\\'))
        return a == b;
    return HeldText::toPlain(a) == HeldText::toPlain(b);
}

QString quotedValue(const QString &value) { return u'"' + StringsWriter::escapeValue(value) + u'"'; }

// The look of the file's entries, taken from one of them, for new entries.
struct Style
{
    QString lineEnd = QStringLiteral("\n");
    QString indent;
    QString between = QStringLiteral(" = "); // from the key's closing quote to the value's opening quote
    QString after = QStringLiteral(";");     // from the value's closing quote to the end of the entry
    bool lineComments = false;
    bool blankLines = true; // a blank line between entries
};

class Editor
{
public:
    Editor(QStringView text, const StringsContent &content) : m_text(text), m_lines(text), m_content(content) {}

    // Where entry i's block starts: its attached comment, or // lines right
    // above it; and whether only blanks precede that on its line.
    qsizetype blockStart(qsizetype i, bool &atLineStart) const
    {
        const EntrySpan &span = m_content.spans[size_t(i)];
        qsizetype start = span.start;
        const qsizetype line = m_lines.startOf(start);
        atLineStart = m_lines.onlyBlanksBetween(line, start);
        if (!atLineStart)
            return start;
        start = line;
        if (!hasBlockComment(i)) {
            const qsizetype floor = i > 0 ? m_content.spans[size_t(i - 1)].end : 0;
            while (start > 0) {
                const qsizetype previous = m_lines.previousLine(start);
                if (previous < floor || previous == start || !m_lines.isLineComment(previous))
                    break;
                start = previous;
            }
        }
        return start;
    }

    bool hasBlockComment(qsizetype i) const
    {
        const EntrySpan &span = m_content.spans[size_t(i)];
        const Token key = tokenAt(m_text, span.keyStart, span.keyEnd);
        return span.start < key.start && m_text.sliced(span.start).startsWith(u"/*");
    }

    // The range that removing entry i takes out.
    std::pair<qsizetype, qsizetype> removal(qsizetype i) const
    {
        bool atLineStart = false;
        const qsizetype start = blockStart(i, atLineStart);
        qsizetype end = m_content.spans[size_t(i)].end;
        while (end < m_text.size() && isBlank(m_text[end]))
            ++end;
        if (end + 1 < m_text.size() && m_text[end] == u'/' && m_text[end + 1] == u'/')
            end = m_lines.breakOf(end);
        const bool lineEnds = end >= m_text.size() || isLineBreak(m_text[end]);
        if (!lineEnds || !atLineStart)
            return {start, end};
        end = m_lines.afterBreak(end);
        const bool blankBefore = start == 0 || m_lines.isBlankLine(m_lines.previousLine(start));
        if (blankBefore && end < m_text.size() && m_lines.isBlankLine(end))
            end = m_lines.nextLine(end);
        return {start, end};
    }

    // The line after entry i.
    qsizetype after(qsizetype i) const
    {
        return m_lines.nextLine(m_content.spans[size_t(i)].end);
    }

    // Where an entry after entry i goes: the next line, or right after the
    // entry when other text (a closing brace, another entry) follows on its
    // line; midLine tells which.
    qsizetype placeAfter(qsizetype i, bool &midLine) const
    {
        const qsizetype end = m_content.spans[size_t(i)].end;
        qsizetype j = end;
        while (j < m_text.size() && isBlank(m_text[j]))
            ++j;
        midLine = !(j >= m_text.size() || isLineBreak(m_text[j])
                    || (j + 1 < m_text.size() && m_text[j] == u'/' && m_text[j + 1] == u'/'));
        return midLine ? end : after(i);
    }

    // Where the first entry of a file without entries goes: at its end, or
    // inside the braces of a file that wraps its entries in them.
    qsizetype placeInEmpty(bool &midLine) const
    {
        midLine = false;
        qsizetype last = m_text.size() - 1;
        while (last >= 0 && m_text[last].isSpace())
            --last;
        qsizetype first = 0;
        while (first < m_text.size() && m_text[first].isSpace())
            ++first;
        if (last <= first || m_text[last] != u'}' || m_text[first] != u'{')
            return m_text.size();
        const qsizetype line = m_lines.startOf(last);
        midLine = !m_lines.onlyBlanksBetween(line, last);
        return midLine ? last : line;
    }

    Style styleOf(qsizetype sample) const
    {
        Style style;
        // The line end after the sample entry, else the file's first one.
        qsizetype lineBreak = m_lines.breakOf(sample < 0 ? 0 : m_content.spans[size_t(sample)].end);
        if (lineBreak >= m_text.size())
            lineBreak = m_lines.breakOf(0);
        if (lineBreak < m_text.size() && m_text[lineBreak] == u'\r')
            style.lineEnd = lineBreak + 1 < m_text.size() && m_text[lineBreak + 1] == u'\n' ? QStringLiteral("\r\n")
                                                                                           : QStringLiteral("\r");
        if (sample < 0)
            return style;
        const EntrySpan &span = m_content.spans[size_t(sample)];
        const Token key = tokenAt(m_text, span.keyStart, span.keyEnd);
        const Token value = tokenAt(m_text, span.valueStart, span.valueEnd);
        const qsizetype keyLine = m_lines.startOf(key.start);
        if (m_lines.onlyBlanksBetween(keyLine, key.start))
            style.indent = m_text.sliced(keyLine, key.start - keyLine).toString();
        if (key.quote == u'"' && value.quote == u'"' && value.start > key.end) {
            const QStringView between = m_text.sliced(key.end, value.start - key.end);
            if (!between.contains(u'\n') && !between.contains(u'\r'))
                style.between = between.toString();
            const QStringView tail = m_text.sliced(value.end, span.end - value.end);
            if (!tail.contains(u'\n') && !tail.contains(u'\r'))
                style.after = tail.toString();
        }
        bool atLineStart = false;
        const qsizetype start = blockStart(sample, atLineStart);
        style.lineComments = !hasBlockComment(sample) && atLineStart && m_lines.isLineComment(start);
        if (atLineStart && start > 0)
            style.blankLines = m_lines.isBlankLine(m_lines.previousLine(start));
        else
            style.blankLines = after(sample) < m_text.size() && m_lines.isBlankLine(after(sample));
        return style;
    }

    // The text of a new entry, ending in a line end.
    static QString block(const Entry &entry, const Style &style)
    {
        QString out;
        const QString comment = entry.comment.value_or(QString());
        if (!comment.isEmpty()) {
            const bool oneLine = !comment.contains(u'\n') && !comment.contains(u'\r')
                                 && !comment.contains(QChar(0x2028)) && !comment.contains(QChar(0x2029));
            if (style.lineComments && oneLine)
                out += style.indent + QStringLiteral("// ") + comment.trimmed() + style.lineEnd;
            else
                out += style.indent + QStringLiteral("/*") + StringsWriter::escapeComment(comment)
                       + QStringLiteral("*/") + style.lineEnd;
        }
        out += style.indent + u'"' + StringsWriter::escapeKey(entry.key) + u'"' + style.between
               + quotedValue(entry.value) + style.after + style.lineEnd;
        return out;
    }

    // What goes in at `at` (a line start or the text's end, or within a line
    // when midLine) for a block.
    QString insertion(qsizetype at, const QString &block, const Style &style, bool midLine) const
    {
        if (midLine)
            return style.lineEnd + block;
        QString out;
        const bool end = at >= m_text.size();
        if (end && at > 0 && !isLineBreak(m_text[at - 1]))
            out += style.lineEnd;
        if (!style.blankLines)
            return out + block;
        const bool blankBefore = at == 0 || (!out.isEmpty() ? false : m_lines.isBlankLine(m_lines.previousLine(at)));
        const bool blankAfter = !end && m_lines.isBlankLine(at);
        if (!blankBefore)
            out += style.lineEnd;
        out += block;
        if (!blankAfter)
            out += style.lineEnd;
        return out;
    }

private:
    QStringView m_text;
    Lines m_lines;
    const StringsContent &m_content;
};

} // namespace

QString PreservingWriter::loadedFormOf(const QString &key)
{
    return key.contains(u'\\') ? HeldText::fromPlain(HeldText::toPlain(key)) : key;
}

PreservingWriter::Result PreservingWriter::edit(QStringView text, const QString &fileName,
                                                const QList<PreservedEntry> &wanted, const KeyCollator &collator)
{
    const StringsContent content = StringsContent::read(text);
    if (!content.complete) {
        Result result;
        result.outcome = Outcome::Refused;
        result.problem = content.problem;
        return result;
    }
    // An entry that shares its line with another can read differently once
    // its text changes (an escaped line separator joins what a raw one kept
    // apart); then the changed entries get lines of their own.
    Result result = attempt(text, content, fileName, wanted, collator, false);
    if (result.outcome == Outcome::Refused)
        result = attempt(text, content, fileName, wanted, collator, true);
    return result;
}

PreservingWriter::Result PreservingWriter::attempt(QStringView text, const StringsContent &content,
                                                   const QString &fileName, const QList<PreservedEntry> &wanted,
                                                   const KeyCollator &collator, bool ownLines)
{
    Result result;
    const qsizetype count = content.entries.size();
    QHash<QString, QList<qsizetype>> occurrences;
    QStringList loadedKeys;
    loadedKeys.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        loadedKeys.append(loadedFormOf(content.entries.at(i).key));
        occurrences[loadedKeys.last()].append(i);
    }

    Editor editor(text, content);
    QList<Edit> edits;
    std::vector<bool> kept(size_t(count), false);
    std::vector<QString> finalKeys(static_cast<size_t>(count));
    QList<const PreservedEntry *> added;
    const auto remove = [&](qsizetype i) {
        const auto [start, end] = editor.removal(i);
        edits.append({start, end, QString(), 0});
    };

    for (const PreservedEntry &want : wanted) {
        const auto found = occurrences.constFind(want.loadedKey);
        if (found == occurrences.cend() || found->isEmpty()) {
            added.append(&want);
            continue;
        }
        const qsizetype live = found->last();
        kept[size_t(live)] = true;
        finalKeys[size_t(live)] = want.entry.key;
        const Entry &now = content.entries.at(live);
        const EntrySpan &span = content.spans[size_t(live)];
        const qsizetype before = edits.size();
        const Token key = tokenAt(text, span.keyStart, span.keyEnd);
        const bool renamed = !sameKey(now.key, want.entry.key);
        if (renamed) {
            const QString escaped = StringsWriter::escapeKey(want.entry.key);
            if (key.quote == u'"')
                edits.append({span.keyStart, span.keyEnd, escaped, 0});
            else
                edits.append({key.start, key.end, u'"' + escaped + u'"', 0});
        }
        const bool shorthand = span.valueStart == span.keyStart;
        if (shorthand) {
            // "key"; stands for a text equal to its key: a new key or text
            // needs the text spelled out.
            if (renamed || now.value != want.entry.value)
                edits.append({key.end, key.end, QStringLiteral(" = ") + quotedValue(want.entry.value), 0});
        } else if (now.value != want.entry.value) {
            const Token value = tokenAt(text, span.valueStart, span.valueEnd);
            const QString escaped = StringsWriter::escapeValue(want.entry.value);
            if (value.quote == u'"')
                edits.append({span.valueStart, span.valueEnd, escaped, 0});
            else
                edits.append({value.start, value.end, u'"' + escaped + u'"', 0});
        }
        const QString wantedComment = want.entry.comment.value_or(QString());
        if (want.ownsComment && now.comment.value_or(QString()) != wantedComment) {
            const QString escaped = StringsWriter::escapeComment(wantedComment);
            if (editor.hasBlockComment(live)) {
                if (span.bodyStart >= 0)
                    edits.append({span.bodyStart, span.bodyEnd, escaped, 0});
                else
                    edits.append({span.start + 2, span.start + 2, escaped, 0});
            } else {
                const Style style = editor.styleOf(live);
                const qsizetype line = Lines(text).startOf(key.start);
                if (Lines(text).onlyBlanksBetween(line, key.start))
                    edits.append({line, line, style.indent + QStringLiteral("/*") + escaped + QStringLiteral("*/") + style.lineEnd, 0});
                else
                    edits.append({key.start, key.start, style.lineEnd + QStringLiteral("/*") + escaped + QStringLiteral("*/") + style.lineEnd, 0});
            }
        }
        if (ownLines && edits.size() > before) {
            bool atLineStart = false;
            const qsizetype start = editor.blockStart(live, atLineStart);
            if (!atLineStart)
                edits.append({start, start, editor.styleOf(live).lineEnd, 0});
            bool midLine = false;
            editor.placeAfter(live, midLine);
            if (midLine)
                edits.append({span.end, span.end, editor.styleOf(live).lineEnd, 0});
        }
        // Earlier occurrences lost to the last one; once it changes they
        // would read as stale texts of the key, so they go.
        if (edits.size() > before)
            for (qsizetype i = 0; i + 1 < found->size(); ++i)
                remove(found->at(i));
    }
    for (qsizetype i = 0; i < count; ++i) {
        const auto found = occurrences.constFind(loadedKeys.at(i));
        const bool wantedKey = kept[size_t(found->last())];
        if (!wantedKey)
            remove(i);
    }

    if (!added.isEmpty()) {
        // The file's order, if its keys follow one: the collation the
        // canonical layout sorts by, else code points.
        const auto rowKey = [&fileName](const QString &key) { return ProjectFiles::rowKeyFor(key, fileName); };
        const std::function<int(const QString &, const QString &)> byCollation =
            [&](const QString &a, const QString &b) { return collator.compare(rowKey(a), rowKey(b)); };
        const std::function<int(const QString &, const QString &)> byCodePoints =
            [&](const QString &a, const QString &b) { return TextOrder::compareCodePoints(rowKey(a), rowKey(b)); };
        const auto sortedBy = [&](const std::function<int(const QString &, const QString &)> &compare) {
            for (qsizetype i = 1; i < count; ++i)
                if (compare(content.entries.at(i - 1).key, content.entries.at(i).key) > 0)
                    return false;
            return true;
        };
        const std::function<int(const QString &, const QString &)> *order = nullptr;
        if (sortedBy(byCollation))
            order = &byCollation;
        else if (sortedBy(byCodePoints))
            order = &byCodePoints;
        if (order)
            std::stable_sort(added.begin(), added.end(), [order](const PreservedEntry *a, const PreservedEntry *b) {
                return (*order)(a->entry.key, b->entry.key) < 0;
            });
        qsizetype last = -1;
        for (qsizetype i = 0; i < count; ++i)
            if (kept[size_t(i)])
                last = i;
        for (const PreservedEntry *entry : std::as_const(added)) {
            qsizetype anchor = -1;
            if (order) {
                for (qsizetype i = 0; i < count && anchor < 0; ++i)
                    if (kept[size_t(i)] && (*order)(finalKeys[size_t(i)], entry->entry.key) > 0)
                        anchor = i;
            }
            const qsizetype sample = anchor >= 0 ? anchor : last;
            const Style style = editor.styleOf(sample);
            qsizetype at = text.size();
            bool midLine = false;
            if (anchor >= 0) {
                bool atLineStart = false;
                at = editor.blockStart(anchor, atLineStart);
                midLine = !atLineStart;
            } else if (last >= 0) {
                at = editor.placeAfter(last, midLine);
            } else {
                at = editor.placeInEmpty(midLine);
            }
            edits.append({at, at, editor.insertion(at, Editor::block(entry->entry, style), style, midLine),
                          edits.size()});
        }
    }
    if (edits.isEmpty())
        return result;

    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
        if (a.start != b.start)
            return a.start < b.start;
        const bool insertA = a.start == a.end;
        const bool insertB = b.start == b.end;
        if (insertA != insertB)
            return insertA;
        return a.order < b.order;
    });
    QString out;
    out.reserve(text.size() + 256);
    qsizetype at = 0;
    for (const Edit &edit : std::as_const(edits)) {
        if (edit.start < at) {
            result.outcome = Outcome::Refused;
            result.problem = QStringLiteral("its entries overlap where they would be edited");
            return result;
        }
        out += text.sliced(at, edit.start - at);
        out += edit.text;
        at = edit.end;
    }
    out += text.sliced(at);

    // The edited text must read back as exactly the wanted entries, or it is
    // not written. Keys compare as the text they stand for: a held key may
    // hold a quote that the file holds escaped.
    const StringsContent check = StringsContent::read(out);
    QHash<QString, QString> values;
    for (const Entry &entry : check.entries)
        values.insert(HeldText::toPlain(entry.key), entry.value);
    bool same = check.complete && values.size() == wanted.size();
    for (qsizetype i = 0; same && i < wanted.size(); ++i) {
        const Entry &entry = wanted.at(i).entry;
        const auto found = values.constFind(HeldText::toPlain(entry.key));
        same = found != values.cend()
               && (*found == entry.value || *found == StringsWriter::escapeValue(entry.value));
    }
    if (!same) {
        result.outcome = Outcome::Refused;
        result.problem = QStringLiteral("the edited file would not read back as the project's entries");
        return result;
    }
    result.outcome = Outcome::Edited;
    result.text = std::move(out);
    return result;
}
