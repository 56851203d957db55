// StringsDictDocument: reading the model, byte-exact writing, edits that
// touch only their own lines, refusal of files and edits it cannot represent,
// and ICU's plural categories per language.
#include "linediff.h"
#include "model/stringsdictdocument.h"
#include "pluraldict.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kSample = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<!-- Sidebar footer -->
	<key>%d files in %d folders</key>
	<dict>
		<key>NSStringLocalizedFormatKey</key>
		<string>%#@files@ in %#@folders@</string>
		<key>files</key>
		<dict>
			<key>NSStringFormatSpecTypeKey</key>
			<string>NSStringPluralRuleType</string>
			<key>NSStringFormatValueTypeKey</key>
			<string>d</string>
			<key>zero</key>
			<string>keine Dateien</string>
			<key>one</key>
			<string>eine Datei</string>
			<key>two</key>
			<string>zwei Dateien</string>
			<key>few</key>
			<string>%d Dateien</string>
			<key>many</key>
			<string>%d Dateien</string>
			<key>other</key>
			<string>%d Dateien</string>
		</dict>
		<key>folders</key>
		<dict>
			<key>NSStringFormatSpecTypeKey</key>
			<string>NSStringPluralRuleType</string>
			<key>NSStringFormatValueTypeKey</key>
			<string>d</string>
			<key>one</key>
			<string>einem Ordner</string>
			<key>other</key>
			<string>%d Ordnern</string>
		</dict>
	</dict>
	<key>Notes &amp; "Tags"</key>
	<dict>
		<key>NSStringLocalizedFormatKey</key>
		<string>%#@notes@</string>
		<key>notes</key>
		<dict>
			<key>NSStringFormatSpecTypeKey</key>
			<string>NSStringPluralRuleType</string>
			<key>NSStringFormatValueTypeKey</key>
			<string>ld</string>
			<key>one</key>
			<string>Eine Notiz &lt;neu&gt; &amp; „Schlagwörter“</string>
			<key>other</key>
			<string>%ld Notizen
in C:\Notizen</string>
		</dict>
	</dict>
</dict>
</plist>
)";

// An empty element, CDATA, a comment inside a string, four-space indentation.
const QByteArray kSpaced =
    "<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<dict>\n    <key>k</key>\n    <dict>\n"
    "        <key>NSStringLocalizedFormatKey</key>\n        <string/>\n        <key>v</key>\n"
    "        <dict>\n            <key>NSStringFormatSpecTypeKey</key>\n"
    "            <string>NSStringPluralRuleType</string>\n            <key>one</key>\n"
    "            <string><![CDATA[<b>]]>&#x41;<!-- c --></string>\n        </dict>\n    </dict>\n"
    "</dict>\n</plist>";

const QByteArray kCrlf = QByteArray(kSample).replace("\n", "\r\n");

const QString kFilesKey = u"%d files in %d folders"_s;
const QString kNotesKey = u"Notes & \\\"Tags\\\""_s;

QList<StringsDictEntry> sampleEntries()
{
    const QString d = u"%d Dateien"_s;
    return {
        {kFilesKey,
         u"%#@files@ in %#@folders@"_s,
         {{u"files"_s,
           u"d"_s,
           {{u"zero"_s, u"keine Dateien"_s},
            {u"one"_s, u"eine Datei"_s},
            {u"two"_s, u"zwei Dateien"_s},
            {u"few"_s, d},
            {u"many"_s, d},
            {u"other"_s, d}}},
          {u"folders"_s, u"d"_s, {{u"one"_s, u"einem Ordner"_s}, {u"other"_s, u"%d Ordnern"_s}}}}},
        {kNotesKey,
         u"%#@notes@"_s,
         {{u"notes"_s,
           u"ld"_s,
           {{u"one"_s, u"Eine Notiz <neu> & „Schlagwörter“"_s},
            {u"other"_s, u"%ld Notizen\\nin C:\\\\Notizen"_s}}}}},
    };
}

// The document, or after a reported failure an empty one so the test can go on.
StringsDictDocument read(const QByteArray &bytes)
{
    QString error;
    std::optional<StringsDictDocument> doc = StringsDictDocument::parse(bytes, &error);
    if (!doc) {
        ADD_FAILURE() << error.toStdString() << "\n" << bytes.toStdString();
        doc = StringsDictDocument::parse("<plist><dict/></plist>", nullptr);
    }
    return *doc;
}

// One edit of a document, applied by the table below.
using Edit = std::function<bool(StringsDictDocument &)>;

Edit setText(const QString &key, const QString &variable, const QString &category,
             const QString &text)
{
    return [=](auto &doc) { return doc.setText(key, variable, category, text); };
}

} // namespace

TEST(StringsDict, ReadsTheModel)
{
    const StringsDictDocument doc = read(kSample);
    EXPECT_EQ(doc.entries(), sampleEntries());
    EXPECT_EQ(doc.keys(), QStringList({kFilesKey, kNotesKey}));
    EXPECT_EQ(doc.entry(kNotesKey), sampleEntries()[1]);
    EXPECT_FALSE(doc.entry(u"missing"_s));
}

TEST(StringsDict, UnchangedFilesAreWrittenByteForByte)
{
    const QByteArray variants[] = {
        kSample, kSample.chopped(1),         "\xEF\xBB\xBF" + kSample, kCrlf,
        kSpaced, "<plist><dict/></plist>\n",
    };
    for (const QByteArray &bytes : variants)
        EXPECT_EQ(read(bytes).serialize(), bytes) << bytes.toStdString();
}

TEST(StringsDict, EditsChangeOnlyTheirOwnLines)
{
    const struct
    {
        const char *name;
        Edit edit;
        LineDiff diff;
    } cases[] = {
        {"text",
         setText(kFilesKey, "files", "one", "genau eine Datei"),
         {{"\t\t\t<string>eine Datei</string>"}, {"\t\t\t<string>genau eine Datei</string>"}}},
        {"text with markup, quotes, a line feed and a carriage return",
         setText(kNotesKey, "notes", "one", R"(<b> & \"x\"\r\ny)"),
         {{"\t\t\t<string>Eine Notiz &lt;neu&gt; &amp; „Schlagwörter“</string>"},
          {"\t\t\t<string>&lt;b&gt; &amp; \"x\"&#13;", "y</string>"}}},
        {"format",
         [](auto &doc) { return doc.setFormat(kFilesKey, u"%#@folders@: %#@files@"_s); },
         {{"\t\t<string>%#@files@ in %#@folders@</string>"},
          {"\t\t<string>%#@folders@: %#@files@</string>"}}},
        {"new category between others",
         setText(kFilesKey, "folders", "few", "%d Ordnern"),
         {{}, {"\t\t\t<key>few</key>", "\t\t\t<string>%d Ordnern</string>"}}},
        {"new first category",
         setText(kNotesKey, "notes", "zero", "keine"),
         {{}, {"\t\t\t<key>zero</key>", "\t\t\t<string>keine</string>"}}},
        {"removed category",
         [](auto &doc) { return doc.removeCategory(kFilesKey, u"files"_s, u"two"_s); },
         {{"\t\t\t<key>two</key>", "\t\t\t<string>zwei Dateien</string>"}, {}}},
        {"same text again", setText(kFilesKey, "files", "few", "%d Dateien"), {}},
        {"removed key",
         [](auto &doc) { return doc.removeKey(kFilesKey); },
         {kSample.split('\n').mid(4, 36), {}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StringsDictDocument doc = read(kSample);
        ASSERT_TRUE(c.edit(doc));
        const QByteArray bytes = doc.serialize();
        EXPECT_EQ(diffLines(kSample, bytes), c.diff);
        // What was written reads back as the edited model.
        EXPECT_EQ(read(bytes).entries(), doc.entries());
    }
}

TEST(StringsDict, EditsKeepLineEndsAndOpenEmptyElements)
{
    StringsDictDocument doc = read(kCrlf);
    ASSERT_TRUE(doc.setText(kFilesKey, u"folders"_s, u"zero"_s, u"keinem Ordner"_s));
    EXPECT_EQ(diffLines(kCrlf, doc.serialize()),
              LineDiff({}, {"\t\t\t<key>zero</key>\r", "\t\t\t<string>keinem Ordner</string>\r"}));

    doc = read(kSpaced);
    ASSERT_TRUE(doc.setFormat(u"k"_s, u"%#@v@"_s));
    EXPECT_EQ(doc.serialize(), QByteArray(kSpaced).replace("<string/>", "<string>%#@v@</string>"));
}

TEST(StringsDict, AddedKeysFollowTheSourceOrderInThisFilesIndentation)
{
    const QByteArray target =
        pluralDict("b", "%#@n@", {{"n", {{"other", "B"}}}}).replace('\t', "  ");
    // Into an empty file the key goes tab-indented, as Xcode writes them.
    const QByteArray written =
        pluralDict("Notes &amp; \"Tags\"", "%#@notes@",
                   {{"notes", {{"one", "une note"}, {"other", "%d notes"}}}});
    StringsDictEntry added = sampleEntries()[1];
    added.variables[0] = {
        u"notes"_s, u"d"_s, {{u"one"_s, u"une note"_s}, {u"other"_s, u"%d notes"_s}}};
    const QList<QByteArray> addedLines =
        QByteArray(written).replace('\t', "  ").split('\n').mid(3, 16);
    const struct
    {
        QStringList order;
        QStringList keys;
    } cases[] = {
        {{u"a"_s, kNotesKey, u"b"_s}, {kNotesKey, u"b"_s}},
        {{u"b"_s, u"x"_s, kNotesKey}, {u"b"_s, kNotesKey}},
        {{}, {u"b"_s, kNotesKey}},
    };
    for (const auto &c : cases) {
        StringsDictDocument doc = read(target);
        ASSERT_TRUE(doc.addKey(added, c.order));
        EXPECT_FALSE(doc.addKey(added, c.order));
        const QByteArray bytes = doc.serialize();
        EXPECT_EQ(diffLines(target, bytes).added, addedLines);
        EXPECT_EQ(read(bytes).keys(), c.keys);
        EXPECT_EQ(read(bytes).entry(kNotesKey), added);
    }
    StringsDictDocument empty = read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict/>\n</plist>\n");
    ASSERT_TRUE(empty.addKey(added));
    EXPECT_EQ(empty.serialize(), written);
}

TEST(StringsDict, RefusesEditsItCannotWrite)
{
    StringsDictDocument doc = read(kSample);
    EXPECT_FALSE(doc.setText(u"missing"_s, u"files"_s, u"one"_s, u"x"_s));
    EXPECT_FALSE(doc.setText(kFilesKey, u"missing"_s, u"one"_s, u"x"_s));
    EXPECT_FALSE(doc.setText(kFilesKey, u"NSStringLocalizedFormatKey"_s, u"one"_s, u"x"_s));
    EXPECT_FALSE(doc.setText(kFilesKey, u"files"_s, u"several"_s, u"x"_s));
    EXPECT_FALSE(doc.setText(kFilesKey, u"files"_s, u"one"_s, u"bell \\U0007"_s));
    EXPECT_FALSE(doc.setFormat(kFilesKey, u"\\U0000"_s));
    EXPECT_FALSE(doc.removeCategory(kFilesKey, u"folders"_s, u"few"_s));
    EXPECT_FALSE(doc.removeKey(u"missing"_s));
    StringsDictEntry bad = sampleEntries()[1];
    bad.key = u"new"_s;
    bad.variables[0].texts.append({u"several"_s, u"x"_s});
    EXPECT_FALSE(doc.addKey(bad));
    EXPECT_EQ(doc.serialize(), kSample);
}

TEST(StringsDict, RejectsFilesItCannotRepresent)
{
    auto swap = [](const char *from, const char *to) {
        return QByteArray(kSample).replace(from, to);
    };
    const struct
    {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"truncated", kSample.left(kSample.indexOf("<key>folders</key>"))},
        {"binary property list", QByteArray("bplist00\xD1\x01\x02", 11)},
        {"array at the top", "<plist version=\"1.0\"><array/></plist>"},
        {"not a property list", "<html><dict/></html>"},
        {"unknown rule type", swap("NSStringPluralRuleType", "NSStringGenderRuleType")},
        {"missing rule type",
         swap("<key>NSStringFormatSpecTypeKey</key>\n\t\t\t<string>NSStringPluralRuleType</string>",
              "")},
        {"unsupported rule", swap("<key>notes</key>", "<key>NSStringDeviceSpecificRuleType</key>")},
        {"no format",
         swap("<key>NSStringLocalizedFormatKey</key>\n\t\t<string>%#@notes@</string>", "")},
        {"unknown category", swap("<key>zero</key>", "<key>several</key>")},
        {"duplicate key",
         swap("<key>Notes &amp; \"Tags\"</key>", "<key>%d files in %d folders</key>")},
        {"duplicate category", swap("<key>two</key>", "<key>one</key>")},
        {"key without value", swap("<string>%d Ordnern</string>", "")},
        {"text between items", swap("<!-- Sidebar footer -->", "loose text")},
        {"two top-level values", swap("</dict>\n</plist>", "</dict>\n<dict/>\n</plist>")},
        {"malformed entity", swap("&amp;", "&amp")},
        {"not UTF-8", swap("ö", "\xF6")},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(StringsDictDocument::parse(c.bytes, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

TEST(StringsDict, RequiredCategoriesComeFromIcu)
{
    const struct
    {
        QString language;
        QStringList categories;
    } cases[] = {
        {u"ru"_s, {u"one"_s, u"few"_s, u"many"_s, u"other"_s}},
        {u"Base"_s, {u"one"_s, u"other"_s}},
        {u"zh-Hans"_s, {u"other"_s}},
        {u"ar"_s, {u"zero"_s, u"one"_s, u"two"_s, u"few"_s, u"many"_s, u"other"_s}},
        {u"fr"_s, {u"one"_s, u"many"_s, u"other"_s}},
        {u"pt-BR"_s, {u"one"_s, u"many"_s, u"other"_s}},
        {u"de_AT"_s, {u"one"_s, u"other"_s}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StringsDictDocument::requiredCategories(c.language), c.categories)
            << c.language.toStdString();
}
