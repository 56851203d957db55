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

} // namespace Utf8
