// The shapes real .strings files hold that the no-loss test does not generate,
// each loaded, saved and compared with what a property-list reader finds
// before and after: entries the line rules miss are read and written back;
// files whose text cannot all be read are left exactly as they were.
#include "model/plistreader.h"
#include "model/textfile.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Shape
{
    const char *name;
    QByteArray en;     // en.lproj/Main.strings
    QString key;       // the load must find this key of Main.strings...
    QString value;     // ...holding this text in English, or in German when de is given
    bool kept = false; // saves leave the English file alone
    QByteArray de = {};
};

// The pairs a property-list reader finds in the file, if it reads it.
std::optional<QMap<QString, QString>> pairs(const QString &path)
{
    const std::optional<PlistStrings> read = PlistReader::readFile(path);
    if (!read)
        return std::nullopt;
    QMap<QString, QString> map;
    for (const auto &[key, value] : *read)
        map.insert(key, value);
    return map;
}

} // namespace

TEST(FileShapes, EveryPairSurvivesASaveAndUnreadableTextIsNeverRewritten)
{
    const QList<Shape> shapes{
        // Line breaks read raw come to the model escaped, which a save does not show.
        {"value over two lines", "\"k\" = \"one\ntwo\";\n", u"k"_s, u"one\\ntwo"_s},
        {"line separator in a value", "\"k\" = \"a\xE2\x80\xA8z\";\n", u"k"_s, u"a\\U2028z"_s},
        {"key over two lines", "\"multi\nline\" = \"v\";\n", u"multi\\nline"_s, u"w"_s, false,
         "\"multi\\nline\" = \"w\";\n"},
        {"single quotes around escapes", "'k' = 'say \"hi\"\\n';\n", u"k"_s,
         u"say \\\"hi\\\"\\n"_s},
        {"escaped spellings of one key", "\"caf\\U00e9\" = \"old\";\n\"caf\xC3\xA9\" = \"new\";\n",
         u"caf\u00E9"_s, u"new"_s},
        {"text that is no entry", "\"a\" = \"1\";\ngarbage here\n", u"a"_s, u"1"_s, true},
        {"missing semicolon", "\"a\" = \"1\";\n\"b\" = \"2\"\n", u"a"_s, u"1"_s, true},
        {"UTF-16 BE without a mark",
         TextFile::encode(u"\"k\" = \"\u00FCber\";\n"_s, TextEncoding::Utf16BE, false), u"k"_s,
         u"\u00FCber"_s},
        {"NUL bytes are not UTF-8", QByteArray("\"k\" = \"v\0\";\n", 12), {}, {}, true},
        {"lone surrogate in UTF-16",
         QByteArray("\xFF\xFE\"\0k\0\"\0=\0\"\0\x00\xD8\"\0;\0", 18),
         {},
         {},
         true},
    };
    for (const Shape &shape : shapes) {
        SCOPED_TRACE(shape.name);
        QTemporaryDir dir;
        const QString en = writeFile(dir.path(), u"en.lproj/Main.strings"_s, shape.en);
        QStringList files{en};
        if (!shape.de.isEmpty())
            files << writeFile(dir.path(), u"de.lproj/Main.strings"_s, shape.de);
        QHash<QString, std::optional<QMap<QString, QString>>> before;
        for (const QString &file : files)
            before.insert(file, pairs(file));

        ProjectModel model = loadProject(dir.path(), false);
        if (!shape.key.isEmpty()) {
            const QString language = shape.de.isEmpty() ? u"en"_s : u"de"_s;
            EXPECT_EQ(model.data.value(shape.key + u"-Main.strings"_s).value(language).value,
                      shape.value);
        }
        EXPECT_EQ(model.keptFiles.contains(en), shape.kept);
        ASSERT_TRUE(model.save().ok());
        EXPECT_TRUE(!shape.kept || readFile(en) == shape.en);
        QHash<QString, QByteArray> saved;
        for (const QString &file : files) {
            EXPECT_TRUE(!before.value(file) || pairs(file) == before.value(file))
                << file.toStdString();
            saved.insert(file, readFile(file));
        }
        // The saved layout is stable.
        loadProject(dir.path(), false).save();
        for (const QString &file : files)
            EXPECT_EQ(readFile(file), saved.value(file)) << file.toStdString();
    }
}
