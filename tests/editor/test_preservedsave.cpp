// Saving in the preserving layout: each kind of edit changes only its own
// entry's text, and everything else in the file (order, comments, blank
// lines, line ends, encoding) stays byte for byte.
#include "editor/bulkcommands.h"
#include "editor/cellediting.h"
#include "memory/translationspanel.h"
#include "model/projectmodel.h"
#include "model/textfile.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString File = u"L.strings"_s;

ProjectModel preserving(const QString &root)
{
    ProjectModel model = loadProject(root, true);
    model.saveOptions = [] { return SaveOptions{SaveLayout::Preserve, u"en"_s}; };
    return model;
}

int indexOf(const ProjectModel &model, const QString &key) { return int(model.keys.indexOf(key + u'-' + File)); }

void setText(ProjectModel &model, const QString &key, const QString &language, const QString &text)
{
    ASSERT_TRUE(TranslationsPanel::storeTranslation(model, key + u'-' + File, language, text));
}

// Name, English and German files, the edit, and the files after it (empty: unchanged).
using Case = std::tuple<const char *, QString, QString, std::function<void(ProjectModel &)>,
                        QString, QString>;

} // namespace

TEST(PreservedSave, EachEditChangesOnlyItsEntry)
{
    const QString sortedEn = u"/* Apple */\n\"apple\" = \"Apple\";\n\n/* Banana */\n\"banana\" = \"Banana\";\n\n"
                             "/* Cherry */\n\"cherry\" = \"Cherry\";\n"_s;
    const QList<Case> cases{
        {"value, CRLF, line comment and own comment kept", u"\"a\" = \"A\";\n\"b\" = \"B\";\n"_s,
         u"// header\r\n/* eigener */\r\n\"a\" = \"A-de\"; // note\r\n\r\n\"b\" = \"B-de\";\r\n"_s,
         [](ProjectModel &m) { setText(m, u"a"_s, u"de"_s, u"neu \\\"x\\\""_s); }, {},
         u"// header\r\n/* eigener */\r\n\"a\" = \"neu \\\"x\\\"\"; // note\r\n\r\n\"b\" = \"B-de\";\r\n"_s},
        {"bare and single-quoted values become quoted", u"a = \"A\";\n"_s, u"a = 'A-de';\n"_s,
         [](ProjectModel &m) { setText(m, u"a"_s, u"de"_s, u"x y"_s); }, {}, u"a = \"x y\";\n"_s},
        {"rename: the key's text in every language", u"/* c */\n\"a\" = \"A\";\n\"b\" = \"B\";\n"_s,
         u"\"b\" = \"B-de\";\n  \"a\"=\"A-de\";\n"_s,
         [](ProjectModel &m) { CellEditing::setObjectValue(m, u"z"_s, Column::Key, indexOf(m, u"a"_s)); },
         u"/* c */\n\"z\" = \"A\";\n\"b\" = \"B\";\n"_s, u"\"b\" = \"B-de\";\n  \"z\"=\"A-de\";\n"_s},
        {"delete: the entry, its comment and one blank line", sortedEn,
         u"/* Apfel */\n\"apple\" = \"Apfel\";\n\n// Banane\n\"banana\" = \"Banane\";\n\n\"cherry\" = \"Kirsche\";\n"_s,
         [](ProjectModel &m) { BulkCommands::deleteString(m, {indexOf(m, u"banana"_s)}); },
         u"/* Apple */\n\"apple\" = \"Apple\";\n\n/* Cherry */\n\"cherry\" = \"Cherry\";\n"_s,
         u"/* Apfel */\n\"apple\" = \"Apfel\";\n\n\"cherry\" = \"Kirsche\";\n"_s},
        {"add to a sorted file: at its place, base comment, file's style", sortedEn,
         u"/* Apfel */\r\n\"apple\"=\"Apfel\";\r\n\r\n/* Kirsche */\r\n\"cherry\"=\"Kirsche\";\r\n"_s,
         [](ProjectModel &m) { setText(m, u"banana"_s, u"de"_s, u"Banane"_s); }, {},
         u"/* Apfel */\r\n\"apple\"=\"Apfel\";\r\n\r\n/* Banana */\r\n\"banana\"=\"Banane\";\r\n\r\n"
         "/* Kirsche */\r\n\"cherry\"=\"Kirsche\";\r\n"_s},
        {"add to an unsorted file: after the last entry", sortedEn,
         u"\"cherry\" = \"Kirsche\";\n\"apple\" = \"Apfel\";\n// end\n"_s,
         [](ProjectModel &m) { setText(m, u"banana"_s, u"de"_s, u"Banane"_s); }, {},
         u"\"cherry\" = \"Kirsche\";\n\"apple\" = \"Apfel\";\n/* Banana */\n\"banana\" = \"Banane\";\n// end\n"_s},
        {"add at the end of a sorted file in // style", sortedEn, u"// Apfel\n\"apple\" = \"Apfel\";\n"_s,
         [](ProjectModel &m) { setText(m, u"cherry"_s, u"de"_s, u"Kirsche"_s); }, {},
         u"// Apfel\n\"apple\" = \"Apfel\";\n// Cherry\n\"cherry\" = \"Kirsche\";\n"_s},
        {"comment edit: the base file only", u"/* old */\n\"a\" = \"A\";\n"_s, u"/* alt */\n\"a\" = \"A-de\";\n"_s,
         [](ProjectModel &m) { CellEditing::setObjectValue(m, u" new "_s, Column::Comment, indexOf(m, u"a"_s)); },
         u"/* new */\n\"a\" = \"A\";\n"_s, {}},
        {"shorthand entry keeps its text through a rename", u"\"a\";\n"_s, u"\"a\" = \"A-de\";\n"_s,
         [](ProjectModel &m) { CellEditing::setObjectValue(m, u"b"_s, Column::Key, indexOf(m, u"a"_s)); },
         u"\"b\" = \"a\";\n"_s, u"\"b\" = \"A-de\";\n"_s},
    };
    for (const auto &[name, enText, deText, edit, enAfter, deAfter] : cases) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const QString en = writeFile(dir.path(), u"en.lproj/"_s + File, enText.toUtf8());
        const QString de = writeFile(dir.path(), u"de.lproj/"_s + File, deText.toUtf8());
        ProjectModel model = preserving(dir.path());
        edit(model);
        EXPECT_TRUE(model.lastSave.ok());
        EXPECT_EQ(QString::fromUtf8(readFile(en)), enAfter.isEmpty() ? enText : enAfter);
        EXPECT_EQ(QString::fromUtf8(readFile(de)), deAfter.isEmpty() ? deText : deAfter);
    }
}

TEST(PreservedSave, EncodingKeptNoFileCreatedWithoutEntriesUnreadableReported)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeFile(d, u"en.lproj/"_s + File, "\"a\" = \"A\";\n\"b\" = \"B\";\n");
    const QString de = writeFile(d, u"de.lproj/"_s + File,
                                 TextFile::encode(u"\"a\" = \"\u00C4\";\r\n"_s, TextEncoding::Utf16LE, true));
    writeFile(d, u"fr.lproj/Other.strings"_s, "\"o\" = \"O\";\n");
    ProjectModel model = preserving(d);
    setText(model, u"a"_s, u"de"_s, u"\u00D6"_s);
    EXPECT_TRUE(model.lastSave.ok());
    EXPECT_EQ(readFile(de), TextFile::encode(u"\"a\" = \"\u00D6\";\r\n"_s, TextEncoding::Utf16LE, true));
    // Neither language without entries for a file gets one.
    EXPECT_FALSE(QFileInfo::exists(d + u"/fr.lproj/"_s + File));
    EXPECT_FALSE(QFileInfo::exists(d + u"/en.lproj/Other.strings"_s));
    // A file changed on disk into text the reader cannot place is left as it
    // stands and reported, not overwritten.
    const QByteArray broken = "\"a\" = \"A\";\nnot an entry\n";
    writeFile(d, u"en.lproj/"_s + File, broken);
    setText(model, u"b"_s, u"en"_s, u"B2"_s);
    ASSERT_EQ(model.lastSave.notWritten.size(), 1);
    EXPECT_EQ(model.lastSave.notWritten.first().path, d + u"/en.lproj/"_s + File);
    EXPECT_EQ(readFile(d + u"/en.lproj/"_s + File), broken);
}
