// Nothing a user wrote is lost: generated projects full of the shapes real
// files hold go through load, save and every saving command, and every pair a
// property-list reader finds before a save is found after it, unchanged,
// unless the command changed that row. VERBALO_NOLOSS_PROJECTS and
// VERBALO_NOLOSS_SEED run more, or other, projects.
#include "editor/bulkcommands.h"
#include "common/settings.h"
#include "editor/cellediting.h"
#include "memory/translationimport.h"
#include "memory/translationspanel.h"
#include "model/heldtext.h"
#include "model/htmlentities.h"
#include "model/plistreader.h"
#include "model/textfile.h"
#include "testsupport.h"
#include "translate/memoryfill.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace Qt::StringLiterals;

namespace {

using Rng = std::mt19937;

int pick(Rng &rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
bool chance(Rng &rng, int percent) { return pick(rng, 100) < percent; }

// Plain texts: what an app shows. Quotes, backslashes, line breaks, tabs,
// entity-like text, non-ASCII and format specifiers all occur.
QString plainText(Rng &rng, bool allowEmpty)
{
    static const QStringList pieces{u"Hello"_s, u" "_s, u"world"_s, u"\""_s, u"\\"_s, u"\n"_s,
                                    u"\t"_s, u"&amp;"_s, u"&#92;"_s, u"&quot;"_s, u"R&D"_s,
                                    u"\u00E9"_s, u"\u65E5\u672C"_s, u"\U0001F600"_s, u"\u00A0"_s,
                                    u"\u2028"_s, u"%@"_s, u"%1$d"_s, u"'"_s, u"/*x*/"_s, u"// y"_s,
                                    u";"_s, u"="_s, u"\r\n"_s};
    const int count = allowEmpty ? pick(rng, 5) : 1 + pick(rng, 4);
    QString text;
    for (int i = 0; i < count; ++i)
        text += pieces.at(pick(rng, int(pieces.size())));
    return text;
}

// The text written in double quotes, each character escaped one of the ways
// files in the wild escape it (line breaks kept raw in multi-line values).
QString quoted(Rng &rng, const QString &plain)
{
    QString out = u"\""_s;
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case u'"': out += u"\\\""_s; break;
        case u'\\': out += u"\\\\"_s; break;
        case u'\n': out += chance(rng, 50) ? u"\\n"_s : (chance(rng, 50) ? u"\n"_s : u"\\012"_s); break;
        case u'\r': out += chance(rng, 50) ? u"\\r"_s : u"\r"_s; break;
        case u'\t': out += chance(rng, 50) ? u"\\t"_s : u"\t"_s; break;
        case 0x00E9: out += chance(rng, 30) ? u"\\U00e9"_s : QString(c); break;
        case u'\'': out += chance(rng, 30) ? u"\\'"_s : QString(c); break;
        default: out += c; break;
        }
    }
    return out + u'"';
}

QString token(Rng &rng, const QString &plain)
{
    const bool bare = !plain.isEmpty() && std::all_of(plain.begin(), plain.end(), [](QChar c) {
        return PlistReader::isUnquotedCharacter(c.unicode());
    });
    return bare && chance(rng, 30) ? plain : quoted(rng, plain);
}

const QStringList &keyPool()
{
    static const QStringList keys{u"title"_s, u"NSCameraUsageDescription"_s, u"alert.ok"_s,
                                  u"Save"_s, u"SaveAs"_s, u"a b"_s, u"say \"hi\""_s,
                                  u"multi\nline"_s, u"C:\\path"_s, u"caf\u00E9"_s, u"x-y"_s,
                                  u"empty"_s, u"%@ files"_s, u"k1"_s, u"k2"_s, u"k3"_s};
    return keys;
}

// One entry in one of the shapes real files hold, and sometimes text that is
// no entry at all (which must make the file one that saves leave alone).
QString entryText(Rng &rng)
{
    const QString key = keyPool().at(pick(rng, int(keyPool().size())));
    QString out;
    if (chance(rng, 40))
        out += chance(rng, 80) ? u"/* Note on "_s + QString::number(pick(rng, 9)) + u" */\n"_s : u"/**/\n"_s;
    switch (pick(rng, 12)) {
    case 0: // shorthand: the text is the key
        return out + quoted(rng, key) + u";\n"_s;
    case 1: // a line comment after the entry
        return out + token(rng, key) + u" = "_s + token(rng, plainText(rng, true)) + u"; // note\n"_s;
    case 2: // spread over lines
        return out + token(rng, key) + u"\n=\n"_s + token(rng, plainText(rng, true)) + u"\n;\n"_s;
    case 3: // two entries on one line
        return out + quoted(rng, key) + u" = "_s + quoted(rng, plainText(rng, false)) + u"; "_s
               + quoted(rng, u"k2"_s) + u" = "_s + quoted(rng, plainText(rng, false)) + u";\n"_s;
    case 4: // single quotes
        return out + u"'"_s + key.toHtmlEscaped().remove(u'\\').remove(u'\n') + u"' = 'it'; \n"_s;
    case 5: // text that is no entry
        return chance(rng, 25) ? u"this is not an entry\n"_s : out + quoted(rng, key) + u" = "_s + quoted(rng, u"v"_s) + u";\n"_s;
    default:
        return out + token(rng, key) + u" = "_s + token(rng, plainText(rng, true)) + u";\n"_s;
    }
}

QByteArray encoded(Rng &rng, const QString &text)
{
    // UTF-16 without a mark is recognised by its zero bytes only when enough
    // of the text is ASCII; the generated files are.
    static const std::pair<TextEncoding, bool> forms[] = {
        {TextEncoding::Utf8, true},    {TextEncoding::Utf16LE, true},
        {TextEncoding::Utf16BE, true}, {TextEncoding::Utf16LE, false},
        {TextEncoding::Utf8, false},   {TextEncoding::Utf8, false}};
    const auto &[encoding, mark] = forms[pick(rng, 6)];
    return TextFile::encode(text, encoding, mark);
}

// Writes a project under root; returns the .strings files written.
QStringList generate(Rng &rng, const QString &root)
{
    static const QList<QStringList> languageSets{{u"Base"_s, u"de"_s}, {u"en"_s, u"de"_s, u"fr"_s},
                                                 {u"de"_s, u"fr"_s}, {u"en"_s, u"pt-BR"_s}};
    static const QStringList fileNames{u"Localizable.strings"_s, u"InfoPlist.strings"_s};
    QStringList files;
    const QStringList &languages = languageSets.at(pick(rng, int(languageSets.size())));
    const int fileCount = 1 + pick(rng, 2);
    for (const QString &language : languages) {
        for (int f = 0; f < fileCount; ++f) {
            if (chance(rng, 15))
                continue;
            QString text = chance(rng, 50) ? u"\n"_s : QString();
            if (chance(rng, 20))
                text += u"// Generated file\n\n"_s;
            const int entries = pick(rng, 7);
            for (int e = 0; e < entries; ++e)
                text += entryText(rng) + (chance(rng, 30) ? u"\n"_s : QString());
            if (chance(rng, 10))
                text = u"{\n"_s + text + u"}\n"_s;
            const QString relative = language + u".lproj/"_s + fileNames.at(f);
            files << writeFile(root, relative, encoded(rng, text));
        }
    }
    return files;
}

struct Snapshot
{
    QHash<QString, std::optional<PlistStrings>> pairs;
    QHash<QString, QByteArray> bytes;
};

Snapshot snapshot(const QString &root)
{
    Snapshot s;
    for (const QString &path : QDir(root).entryList({u"*.lproj"_s}, QDir::Dirs)) {
        for (const QString &name :
             QDir(root + u'/' + path).entryList({u"*.strings"_s}, QDir::Files)) {
            const QString file = root + u'/' + path + u'/' + name;
            s.pairs.insert(file, PlistReader::readFile(file));
            s.bytes.insert(file, readFile(file));
        }
    }
    return s;
}

// What the grammar reads from the files, file by file, with a file that is
// missing or holds no pairs read as empty.
QHash<QString, QHash<QString, QString>> pairMaps(const Snapshot &snapshot)
{
    QHash<QString, QHash<QString, QString>> maps;
    for (auto it = snapshot.pairs.cbegin(); it != snapshot.pairs.cend(); ++it) {
        QHash<QString, QString> &map = maps[it.key()];
        if (it.value())
            for (const auto &[key, value] : *it.value())
                map.insert(key, value);
    }
    return maps;
}

// Every pair of `before` is in `after` with the same text, or with its HTML
// character references decoded as the writer decodes them; pairs whose key
// `skip` names (for the file) were changed on purpose.
testing::AssertionResult keepsPairs(const Snapshot &before, const Snapshot &after,
                                    const std::function<bool(const QString &, const QString &)> &skip)
{
    const QHash<QString, QHash<QString, QString>> maps = pairMaps(after);
    for (auto it = before.pairs.cbegin(); it != before.pairs.cend(); ++it) {
        if (!it.value())
            continue;
        if (!after.pairs.value(it.key()))
            return testing::AssertionFailure() << "no longer a property list: " << it.key().toStdString();
        const QHash<QString, QString> now = maps.value(it.key());
        for (const auto &[key, value] : *it.value()) {
            if (skip(it.key(), key))
                continue;
            const auto found = now.constFind(key);
            if (found == now.cend())
                return testing::AssertionFailure() << "lost key \"" << key.toStdString() << "\" of " << it.key().toStdString();
            if (*found != value && *found != removingHTMLEntities(value))
                return testing::AssertionFailure() << "changed \"" << key.toStdString() << "\": \"" << value.toStdString()
                                                   << "\" became \"" << found->toStdString() << "\" in "
                                                   << it.key().toStdString();
        }
    }
    return testing::AssertionSuccess();
}

using Command = std::function<void(ProjectModel &, Rng &)>;

QList<int> someRows(const ProjectModel &model, Rng &rng)
{
    QList<int> rows;
    for (int i = 0; i < model.keys.size(); ++i)
        if (chance(rng, 30))
            rows << i;
    return rows;
}

std::optional<QMap<QString, QString>> fakeMemory(const QString &, const QString &text)
{
    if (!text.contains(u'o'))
        return std::nullopt;
    return QMap<QString, QString>{{u"de"_s, u"aus \"dem\" Speicher\\\n"_s}, {u"fr"_s, u"m\u00E9moire"_s}};
}

const QList<std::pair<const char *, Command>> &commands()
{
    static const QList<std::pair<const char *, Command>> list{
        {"edit value", [](ProjectModel &m, Rng &rng) {
             if (!m.keys.isEmpty())
                 CellEditing::setObjectValue(m, plainText(rng, false), Column::Value, pick(rng, int(m.keys.size())));
         }},
        {"edit comment", [](ProjectModel &m, Rng &rng) {
             if (!m.keys.isEmpty())
                 CellEditing::setObjectValue(m, u"new */ comment"_s, Column::Comment, pick(rng, int(m.keys.size())));
         }},
        {"rename key", [](ProjectModel &m, Rng &rng) {
             if (!m.keys.isEmpty())
                 CellEditing::setObjectValue(m, u"renamed.key"_s, Column::Key, pick(rng, int(m.keys.size())));
         }},
        {"rename onto another key", [](ProjectModel &m, Rng &rng) {
             if (m.keys.size() < 2)
                 return;
             const QString other = m.keys.at(pick(rng, int(m.keys.size())));
             const QString key = other.chopped(m.mapKeyToFile.value(other).size() + 1);
             CellEditing::setObjectValue(m, key, Column::Key, pick(rng, int(m.keys.size())));
         }},
        {"capitalize", [](ProjectModel &m, Rng &rng) { BulkCommands::capitalize(m, someRows(m, rng)); }},
        {"upper-case", [](ProjectModel &m, Rng &rng) { BulkCommands::upperCaase(m, someRows(m, rng)); }},
        {"lower-case", [](ProjectModel &m, Rng &rng) { BulkCommands::lowerCase(m, someRows(m, rng)); }},
        {"copy base", [](ProjectModel &m, Rng &rng) { BulkCommands::copyBase(m, someRows(m, rng)); }},
        {"copy missing", [](ProjectModel &m, Rng &rng) { BulkCommands::copyMissingFromBase(m, someRows(m, rng)); }},
        {"delete translations", [](ProjectModel &m, Rng &rng) { BulkCommands::deleteTranslation(m, someRows(m, rng)); }},
        {"delete keys", [](ProjectModel &m, Rng &rng) { BulkCommands::deleteString(m, someRows(m, rng)); }},
        {"panel edit", [](ProjectModel &m, Rng &rng) {
             if (m.keys.isEmpty() || m.languages.isEmpty())
                 return;
             TranslationsPanel::storeTranslation(m, m.keys.at(pick(rng, int(m.keys.size()))),
                                                 m.languages.at(pick(rng, int(m.languages.size()))),
                                                 chance(rng, 20) ? u" "_s : plainText(rng, false));
         }},
        {"fill all", [](ProjectModel &m, Rng &) { MemoryFill::autoTranslate(m, fakeMemory); }},
        {"fill selected", [](ProjectModel &m, Rng &rng) {
             MemoryFill::autoTranslateSelected(m, someRows(m, rng), fakeMemory);
         }},
        {"import", [](ProjectModel &m, Rng &rng) {
             QTemporaryDir folder;
             QString text;
             for (const QString &key : keyPool())
                 if (chance(rng, 40))
                     text += quoted(rng, key) + u" = "_s + quoted(rng, plainText(rng, false)) + u";\n"_s;
             writeFile(folder.path(), u"de.strings"_s, text.toUtf8());
             TranslationImport::importTranslations(m, folder.path());
         }},
    };
    return list;
}

// The decoded keys of the rows the command changed, per file name, less the
// keys that rows it left alone still hold: their pairs must survive.
QHash<QString, QSet<QString>> changedKeys(const QHash<QString, Row> &before, const ProjectModel &after)
{
    QHash<QString, QSet<QString>> changed;
    QHash<QString, QSet<QString>> kept;
    QSet<QString> rowKeys(before.keyBegin(), before.keyEnd());
    for (auto it = after.data.cbegin(); it != after.data.cend(); ++it)
        rowKeys.insert(it.key());
    for (const QString &rowKey : rowKeys) {
        const Row old = before.value(rowKey);
        const Row now = after.data.value(rowKey);
        const bool same = old == now && before.contains(rowKey) == after.data.contains(rowKey);
        QSet<QString> &keys = (same ? kept : changed)[after.mapKeyToFile.value(rowKey)];
        for (const Row &row : {old, now})
            for (const Entry &entry : row)
                keys.insert(HeldText::toPlain(entry.key));
    }
    for (auto it = changed.begin(); it != changed.end(); ++it)
        it->subtract(kept.value(it.key()));
    return changed;
}

// The preserved files hold what the model holds: the pairs the grammar reads
// from them are those of the same model saved in the canonical layout (where
// the preserving layout kept a value's character references as written, the
// canonical one decodes them).
testing::AssertionResult sameAsCanonical(const Snapshot &preserved, const Snapshot &canonical)
{
    const auto a = pairMaps(preserved);
    const auto b = pairMaps(canonical);
    for (const QString &file : a.keys() + b.keys()) {
        const QHash<QString, QString> p = a.value(file);
        const QHash<QString, QString> c = b.value(file);
        if (p.size() != c.size())
            return testing::AssertionFailure() << file.toStdString() << ": " << p.size() << " pairs preserved, "
                                               << c.size() << " canonical";
        for (auto it = c.cbegin(); it != c.cend(); ++it) {
            const auto found = p.constFind(it.key());
            if (found == p.cend() || (*found != *it && removingHTMLEntities(*found) != *it))
                return testing::AssertionFailure() << file.toStdString() << ": \"" << it.key().toStdString()
                                                   << "\" is \"" << p.value(it.key()).toStdString()
                                                   << "\" preserved, \"" << it->toStdString() << "\" canonical";
        }
    }
    return testing::AssertionSuccess();
}

ProjectModel loadWith(const QString &root, bool refresh, SaveLayout layout)
{
    ProjectModel model = loadProject(root, refresh);
    model.saveOptions = [layout] { return SaveOptions{layout, {}}; };
    return model;
}

} // namespace

class NoLoss : public testing::TestWithParam<SaveLayout>
{
};

TEST_P(NoLoss, GeneratedProjectsKeepEveryPairThroughSavesAndCommands)
{
    const SaveLayout layout = GetParam();
    const bool preserve = layout == SaveLayout::Preserve;
    const int wanted = qEnvironmentVariableIntValue("VERBALO_NOLOSS_PROJECTS");
    const int projects = wanted > 0 ? wanted : (preserve ? 5000 : 10000);
    bool seeded = false;
    const int seed = qEnvironmentVariableIntValue("VERBALO_NOLOSS_SEED", &seeded);
    Rng rng(seeded ? unsigned(seed) : 20261207u);
    const auto none = [](const QString &, const QString &) { return false; };
    int kept = 0;
    // Memory-backed when the system has it: the projects are many and small.
    const QString base = QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm/verbalo-noloss-XXXXXX"_s
                                                               : QDir::tempPath() + u"/verbalo-noloss-XXXXXX"_s;
    for (int p = 0; p < projects; ++p) {
        QTemporaryDir dir(base);
        const QString project = dir.path() + u"/App"_s;
        if (generate(rng, project).isEmpty())
            continue;
        const Snapshot original = snapshot(project);

        ProjectModel model = loadWith(project, false, layout);
        kept += int(model.keptFiles.size());
        ASSERT_TRUE(model.save().ok()) << "project " << p;
        const Snapshot saved = snapshot(project);
        ASSERT_TRUE(keepsPairs(original, saved, none)) << "project " << p << " after a save";
        for (auto it = model.keptFiles.cbegin(); it != model.keptFiles.cend(); ++it)
            ASSERT_EQ(saved.bytes.value(it.key()), original.bytes.value(it.key())) << "kept file rewritten";
        // Nothing changed, so the preserving layout writes nothing.
        ASSERT_TRUE(!preserve || saved.bytes == original.bytes) << "project " << p << ": wrote";

        ProjectModel again = loadWith(project, false, layout);
        again.save();
        ASSERT_EQ(snapshot(project).bytes, saved.bytes) << "project " << p << ": saved twice";

        const auto &[name, command] = commands().at(p % commands().size());
        ProjectModel edited = loadWith(project, true, layout);
        const QHash<QString, Row> rowsBefore = edited.data;
        command(edited, rng);
        for (const SaveFailure &failure : edited.lastSave.notWritten)
            ASSERT_TRUE(edited.keptFiles.contains(failure.path))
                << "project " << p << " after " << name << ": " << failure.path.toStdString() << ": "
                << failure.reason.toStdString();
        const QHash<QString, QSet<QString>> changed = changedKeys(rowsBefore, edited);
        const Snapshot after = snapshot(project);
        ASSERT_TRUE(keepsPairs(saved, after, [&](const QString &path, const QString &key) {
            return changed.value(QFileInfo(path).fileName()).contains(key);
        })) << "project " << p << " after " << name;
        if (preserve) {
            edited.saveOptions = [] { return SaveOptions{SaveLayout::Canonical, {}}; };
            edited.save();
            ASSERT_TRUE(sameAsCanonical(after, snapshot(project))) << "project " << p << " after " << name;
        }
    }
    // The generator must reach the files saves leave alone as well.
    EXPECT_GT(kept, projects / 20);
}

INSTANTIATE_TEST_SUITE_P(Layouts, NoLoss, testing::Values(SaveLayout::Canonical, SaveLayout::Preserve),
                         [](const testing::TestParamInfo<SaveLayout> &info) {
                             return SaveOptions::nameOf(info.param).toStdString();
                         });
