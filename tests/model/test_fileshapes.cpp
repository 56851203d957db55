// The shapes real .strings files hold, each loaded, saved and compared with
// what a property-list reader finds before and after: entries the line rules
// miss are read and written back; files whose text cannot all be read are
// left exactly as they were.
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
    QByteArray en;           // en.lproj/Main.strings
    QByteArray de;           // de.lproj/Main.strings, when not empty
    QString rowKey;          // a row the load must find...
    QString language;        // ...with this language's entry...
    QString value;           // ...holding this text
    bool kept = false;       // saves leave the English file alone
};

QByteArray utf16(const QString &text, TextEncoding encoding, bool mark)
{
    return TextFile::encode(text, encoding, mark);
}

std::optional<PlistStrings> pairs(const QString &path)
{
    return PlistReader::readFile(path);
}

} // namespace

TEST(FileShapes, EveryPairSurvivesASaveAndUnreadableTextIsNeverRewritten)
{
    const QList<Shape> shapes{
        {"value over two lines", "\"k\" = \"one\ntwo\";\n", {}, u"k-Main.strings"_s, u"en"_s, u"one\\ntwo"_s},
        {"line separator in a value", "\"k\" = \"a\xE2\x80\xA8z\";\n", {}, u"k-Main.strings"_s, u"en"_s, u"a\\U2028z"_s},
        {"key over two lines", "\"multi\nline\" = \"v\";\n", "\"multi\\nline\" = \"w\";\n",
         u"multi\\nline-Main.strings"_s, u"de"_s, u"w"_s},
        {"line comment after the entry", "\"k\" = \"v\"; // note\n", {}, u"k-Main.strings"_s, u"en"_s, u"v"_s},
        {"bare keys beside a quoted one",
         "\"CFBundleName\" = \"App\";\nNSCameraUsageDescription = \"Camera\";\nNSPhotoLibraryUsageDescription = Photos;\n",
         {}, u"NSPhotoLibraryUsageDescription-Main.strings"_s, u"en"_s, u"Photos"_s},
        {"empty value", "\"k\" = \"\";\n", {}, u"k-Main.strings"_s, u"en"_s, u""_s},
        {"single quotes", "'k' = 'say \"hi\"\\n';\n", {}, u"k-Main.strings"_s, u"en"_s, u"say \\\"hi\\\"\\n"_s},
        {"text equal to its key", "/* c */\n\"Done\";\n", {}, u"Done-Main.strings"_s, u"en"_s, u"Done"_s},
        {"escaped spellings of one key", "\"caf\\U00e9\" = \"old\";\n\"caf\xC3\xA9\" = \"new\";\n", {},
         u"caf\u00E9-Main.strings"_s, u"en"_s, u"new"_s},
        {"no base language", "", "\"hello\" = \"Hallo\";\n", u"hello-Main.strings"_s, u"de"_s, u"Hallo"_s},
        {"braces around the entries", "{\n\"k\" = \"v\";\n}\n", {}, u"k-Main.strings"_s, u"en"_s, u"v"_s},
        {"text that is no entry", "\"a\" = \"1\";\ngarbage here\n", {}, u"a-Main.strings"_s, u"en"_s, u"1"_s, true},
        {"missing semicolon", "\"a\" = \"1\";\n\"b\" = \"2\"\n", {}, u"a-Main.strings"_s, u"en"_s, u"1"_s, true},
        {"two entries on a line read differently", "\"a\" = \"1\"; \"b\" = \"2\";\n", {}, {}, {}, {}, true},
        {"UTF-16 without a mark", utf16(u"\"k\" = \"v\";\n"_s, TextEncoding::Utf16LE, false), {},
         u"k-Main.strings"_s, u"en"_s, u"v"_s},
        {"UTF-16 BE without a mark", utf16(u"\"k\" = \"\u00FCber\";\n"_s, TextEncoding::Utf16BE, false), {},
         u"k-Main.strings"_s, u"en"_s, u"\u00FCber"_s},
        {"NUL bytes are not UTF-8", QByteArray("\"k\" = \"v\0\";\n", 12), {}, {}, {}, {}, true},
        {"lone surrogate in UTF-16", QByteArray("\xFF\xFE\"\0k\0\"\0=\0\"\0\x00\xD8\"\0;\0", 18), {}, {}, {}, {}, true},
    };
    for (const Shape &shape : shapes) {
        SCOPED_TRACE(shape.name);
        QTemporaryDir dir;
        const QString en = dir.path() + u"/en.lproj/Main.strings"_s;
        const QString de = dir.path() + u"/de.lproj/Main.strings"_s;
        if (!shape.en.isEmpty())
            writeFile(dir.path(), u"en.lproj/Main.strings"_s, shape.en);
        if (!shape.de.isEmpty())
            writeFile(dir.path(), u"de.lproj/Main.strings"_s, shape.de);
        QStringList files{de};
        if (!shape.en.isEmpty())
            files.prepend(en);
        QHash<QString, std::optional<PlistStrings>> before;
        for (const QString &file : files)
            before.insert(file, pairs(file));

        ProjectModel model = loadProject(dir.path(), false);
        if (!shape.rowKey.isEmpty()) {
            EXPECT_EQ(model.data.value(shape.rowKey).value(shape.language).value, shape.value);
        }
        EXPECT_EQ(model.keptFiles.contains(en), shape.kept);
        ASSERT_TRUE(model.save().ok());
        if (shape.kept) {
            EXPECT_EQ(readFile(en), shape.en);
        }
        for (const QString &file : files) {
            const std::optional<PlistStrings> earlier = before.value(file);
            if (!earlier)
                continue;
            const std::optional<PlistStrings> after = pairs(file);
            ASSERT_TRUE(after) << file.toStdString();
            QMap<QString, QString> old;
            QMap<QString, QString> now;
            for (const auto &[key, value] : *earlier)
                old.insert(key, value);
            for (const auto &[key, value] : *after)
                now.insert(key, value);
            EXPECT_EQ(now, old) << file.toStdString();
        }
        // The saved layout is stable.
        QHash<QString, QByteArray> saved;
        for (const QString &file : files)
            saved.insert(file, readFile(file));
        loadProject(dir.path(), false).save();
        for (const QString &file : files)
            EXPECT_EQ(readFile(file), saved.value(file)) << file.toStdString();
    }
}
