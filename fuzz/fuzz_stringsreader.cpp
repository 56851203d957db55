// libFuzzer target for StringsReader: it must never crash, and on small texts
// it must find exactly the entries that the ICU pattern finds.
//
// The first byte chooses how the rest becomes text: raw UTF-16 code units
// (any text at all, lone surrogates included), or one piece of .strings
// syntax per byte, which reaches deep entry shapes far sooner.
#include "icuoracle.h"
#include "model/stringsreader.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

// ICU backtracks heavily on long texts; only these are compared.
constexpr qsizetype kOracleLimit = 400;

const char16_t *const kPieces[] = {
    u"\"", u"=", u";", u"/*", u"*/", u"*", u"/", u"\\", u" ", u"\u00A0", u"\t", u"\n", u"\r",
    u"\r\n", u"\v", u"\f", u"\u0085", u"\u2028", u"\u2029", u"\u3000", u"\u202F", u"k", u"v",
    u"\U0001F600", u"\"k\"", u" = ", u"\"v\";", u"\"k\" = \"v\";\n", u"/* c */\n", u"//", u"\\\"",
    u"\";", u"\" = \"", u"**/", u"\xD800",
};
constexpr size_t kPieceCount = sizeof kPieces / sizeof kPieces[0];

QString textFrom(const uint8_t *data, size_t size)
{
    QString text;
    if (size == 0)
        return text;
    if (data[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    } else {
        for (size_t i = 1; i < size; ++i)
            text.append(QStringView(kPieces[data[i] % kPieceCount]));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    const QList<Entry> entries = StringsReader::parse(text);
    if (text.size() > kOracleLimit)
        return 0;
    const std::optional<QList<Entry>> expected = icuOracleParse(text);
    if (expected && *expected != entries) {
        std::fprintf(stderr, "reader and ICU differ on \"%s\": ICU %d entries, reader %d\n",
            visible(text).c_str(), int(expected->size()), int(entries.size()));
        std::abort();
    }
    return 0;
}
