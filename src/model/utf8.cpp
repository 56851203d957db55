// Strict UTF-8 decoding: sixteen ASCII bytes at a time, other characters one
// by one. Qt's decoder leaves its vector loop at every accented letter, which
// made decoding cost as much as parsing.
#include "model/utf8.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::optional<QString> Utf8::decode(QByteArrayView bytes)
{
    // One byte never gives more than one UTF-16 unit, four bytes two.
    QString text(bytes.size(), Qt::Uninitialized);
    auto *const start = reinterpret_cast<char16_t *>(text.data());
    const char16_t *const end = decodeInto(bytes, start);
    if (!end)
        return std::nullopt;
    text.truncate(end - start);
    return text;
}

qsizetype Utf8::wholeLength(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype at = n - 1; at >= 0 && at >= n - 3; --at) {
        const auto byte = uchar(bytes[at]);
        if (isContinuation(byte))
            continue;
        const qsizetype needs = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return at + needs > n ? at : n;
    }
    return n;
}

char16_t *Utf8::decodeInto(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = in + bytes.size();
    while (in < end) {
#if defined(__SSE2__)
        // Each store is of sixteen units at most sixteen ahead of `in`, so it
        // stays within the buffer; units past the ASCII run are overwritten.
        // Runs of other characters (Cyrillic, CJK) stay in the loop below.
        while (end - in >= 16 && *in < 0x80) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(chunk, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(chunk, zero));
            const unsigned high = unsigned(_mm_movemask_epi8(chunk));
            const int ascii = high ? std::countr_zero(high) : 16;
            in += ascii;
            out += ascii;
            if (high)
                break;
        }
        if (in == end)
            break;
#endif
        const uchar lead = *in;
        if (lead < 0x80) {
            *out++ = lead;
            ++in;
        } else if (lead < 0xC2) {
            // A continuation byte without a lead, or an overlong two-byte form.
            return nullptr;
        } else if (lead < 0xE0) {
            if (end - in < 2 || !isContinuation(in[1]))
                return nullptr;
            *out++ = char16_t(((lead & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
        } else if (lead < 0xF0) {
            if (end - in < 3 || !isContinuation(in[1]) || !isContinuation(in[2]))
                return nullptr;
            const char32_t c =
                char32_t((lead & 0x0F) << 12) | char32_t((in[1] & 0x3F) << 6) | (in[2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))
                return nullptr;
            *out++ = char16_t(c);
            in += 3;
        } else if (lead < 0xF5) {
            if (end - in < 4 || !isContinuation(in[1]) || !isContinuation(in[2]) ||
                !isContinuation(in[3]))
                return nullptr;
            const char32_t c = char32_t((lead & 0x07) << 18) | char32_t((in[1] & 0x3F) << 12) |
                               char32_t((in[2] & 0x3F) << 6) | (in[3] & 0x3F);
            if (c < 0x10000 || c > 0x10FFFF)
                return nullptr;
            *out++ = char16_t(0xD800 + ((c - 0x10000) >> 10));
            *out++ = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
            in += 4;
        } else {
            return nullptr;
        }
    }
    return out;
}
