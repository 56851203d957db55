// Strict UTF-8 decoding for whole files: fast on the mostly-ASCII text that
// localization files hold, and refusing anything that is not well formed.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace Utf8 {

// The text the bytes encode, or nothing when they are not well-formed UTF-8:
// a stray or missing continuation byte, an overlong form, a surrogate, a code
// point beyond U+10FFFF, or a sequence cut off at the end. A byte-order mark
// is text like any other character. Gives what QStringDecoder gives for every
// input that it decodes without error.
std::optional<QString> decode(QByteArrayView bytes);

// The same, into `out`, which has room for bytes.size() units: the end of
// what was written, or null when the bytes are not well-formed.
char16_t *decodeInto(QByteArrayView bytes, char16_t *out);

// How much of `bytes` ends between whole sequences: all of it, but for a
// last sequence of up to three bytes whose lead asks for more, which a
// later piece of the same text may complete.
qsizetype wholeLength(QByteArrayView bytes);

} // namespace Utf8
