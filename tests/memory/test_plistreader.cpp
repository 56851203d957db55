// The property-list reader of .strings files: syntax, escapes, encodings and
// input it must refuse.
#include "model/plistreader.h"
#include "testsupport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

PlistStrings pairs(std::initializer_list<QPair<QString, QString>> list) { return PlistStrings(list); }

QByteArray utf16(const QString &text, QStringEncoder::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

} // namespace

TEST(PlistReader, ReadsStringsSyntaxWithCommentsAndEscapes)
{
    const QByteArray text = "/* a comment \"with = quotes\"; */\n"
                            "// line comment \"x\" = \"y\";\n"
                            "\"greeting\" = \"Hello\\n\\tWorld\";\n"
                            "unquoted_key-1.2 = value/with:colon$;\n"
                            "\"esc\" = \"q\\\" b\\\\ a\\' \\U00e9\\Ud83d\\Ude00 \\x\";\n"
                            "'single' = 'quoted \"inside\"';\n"
                            "\"Same\";\n"
                            "\"greeting\" = \"Later wins\";";
    const auto result = PlistReader::parse(text);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, pairs({{"greeting", "Later wins"},
                              {"unquoted_key-1.2", "value/with:colon$"},
                              {"esc", QString::fromUtf8("q\" b\\ a' é😀 x")},
                              {"single", "quoted \"inside\""},
                              {"Same", "Same"}}));
    EXPECT_EQ(PlistReader::parse("{ \"a\" = \"b\"; }\n"), pairs({{"a", "b"}}));
    EXPECT_EQ(PlistReader::parse(""), PlistStrings());
}

TEST(PlistReader, DecodesUtf8AndUtf16WithOrWithoutMark)
{
    const QString text = QString::fromUtf8("\"Öffnen\" = \"打开 😀\";\n");
    const PlistStrings expected = pairs({{QString::fromUtf8("Öffnen"), QString::fromUtf8("打开 😀")}});
    EXPECT_EQ(PlistReader::parse("\xEF\xBB\xBF" + text.toUtf8()), expected);
    // A text decoded elsewhere may still start with its mark.
    EXPECT_EQ(PlistReader::parseText(QChar(0xFEFF) + text), expected);
    for (auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
        const QByteArray bytes = utf16(text, encoding);
        const QByteArray mark = encoding == QStringEncoder::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
        EXPECT_EQ(PlistReader::parse(mark + bytes), expected);
        EXPECT_EQ(PlistReader::parse(bytes), expected);
    }
}

TEST(PlistReader, RefusesEverythingElse)
{
    const char *const bad[] = {
        "\"a\" = \"b\"",                 // no semicolon
        "\"a\" = \"unterminated;",       // truncated string
        "\"a\" = \"b\\",                 // truncated escape
        "/* open comment \"a\" = \"b\";", // unterminated comment
        "\"a\" \"b\";",                  // no equals sign
        "\"a\" = (\"x\", \"y\");",       // array value
        "\"a\" = { b = c; };",           // nested dictionary
        "\"a\" = <0fbd77>;",             // data value
        "{ \"a\" = \"b\";",              // open brace
        "\"a\" = \"b\"; }",              // stray brace
        "= \"b\";",                      // no key
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>a</key><string>b</string></dict></plist>",
        "\xC3\x28 = \"invalid utf-8\";",
    };
    for (const char *input : bad)
        EXPECT_EQ(PlistReader::parse(input), std::nullopt) << input;
    static const char binary[] = "bplist00\xD1\x01\x02QaQb\x08\x0B\x0D\x00\x00\x00\x00";
    EXPECT_EQ(PlistReader::parse(QByteArray(binary, sizeof binary - 1)), std::nullopt);
    EXPECT_EQ(PlistReader::parse(QByteArray("\"a\" = \"b\0c\";", 13)), std::nullopt);
    EXPECT_EQ(PlistReader::parse(utf16("\"a\" = \"b\";", QStringEncoder::Utf16LE).chopped(1)),
              std::nullopt);
}

TEST(PlistReader, SkipsWhatCannotBeReadWithoutDeepWork)
{
    QTemporaryDir dir;
    EXPECT_EQ(PlistReader::readFile(dir.filePath("missing.strings")), std::nullopt);
    EXPECT_EQ(PlistReader::readFile(dir.path()), std::nullopt);
    // A long run of opening quotes or comments is refused without deep work.
    EXPECT_EQ(PlistReader::parse(QByteArray(1 << 20, '"')), std::nullopt);
    EXPECT_EQ(PlistReader::parse("\"a\" = \"" + QByteArray(1 << 20, '\\')), std::nullopt);
}
