// The buffered UTF-8 writer of verbalo-cli's results.
#include "cli/utf8out.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Writes the UTF-8 form of a code point that is not a surrogate.
unsigned char *encodeUtf8(char32_t c, unsigned char *out)
{
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The JSON escape of a quote, a backslash, a control character or a line
// separator: a short one where JSON has one, else "\\u" and four hex digits.
unsigned char *escapeJson(char32_t c, unsigned char *out)
{
    *out++ = '\\';
    char named = 0;
    switch (c) {
    case u'"':
        named = '"';
        break;
    case u'\\':
        named = '\\';
        break;
    case u'\b':
        named = 'b';
        break;
    case u'\f':
        named = 'f';
        break;
    case u'\n':
        named = 'n';
        break;
    case u'\r':
        named = 'r';
        break;
    case u'\t':
        named = 't';
        break;
    default:
        break;
    }
    if (named) {
        *out++ = static_cast<unsigned char>(named);
        return out;
    }
    static constexpr char hex[] = "0123456789abcdef";
    *out++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = static_cast<unsigned char>(hex[(c >> shift) & 0xF]);
    return out;
}

// Units [i, n) as UTF-8 at `out`, which has room for their worst case and
// sixteen bytes more; moves both on. As the inside of a JSON string (Json), with
// quotes, backslashes, control characters and the two line separators
// escaped; otherwise as they are. A lone surrogate becomes U+FFFD.
template <bool Json>
void encodePiece(const char16_t *units, qsizetype &i, qsizetype n, unsigned char *&out)
{
    while (i < n) {
#if defined(__SSE2__)
        // Eight units at a time while they need no care; the bytes stored past
        // a unit that does are overwritten.
        const __m128i high = _mm_set1_epi16(short(0xFF80));
        const __m128i quote = _mm_set1_epi16(u'"');
        const __m128i backslash = _mm_set1_epi16(u'\\');
        const __m128i space = _mm_set1_epi16(0x20);
        while (i + 8 <= n && (!Json || units[i] >= 0x20) && units[i] < 0x80) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
            __m128i bad = _mm_xor_si128(
                _mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()), _mm_set1_epi16(-1));
            if constexpr (Json) {
                bad = _mm_or_si128(bad, _mm_cmpeq_epi16(v, quote));
                bad = _mm_or_si128(bad, _mm_cmpeq_epi16(v, backslash));
                bad = _mm_or_si128(bad, _mm_cmplt_epi16(v, space));
            }
            const unsigned mask =
                unsigned(_mm_movemask_epi8(_mm_packs_epi16(bad, _mm_setzero_si128())));
            const int plain = mask ? std::countr_zero(mask) : 8;
            i += plain;
            out += plain;
            if (mask)
                break;
        }
        if (i >= n)
            break;
#endif
        // A run of other characters of the Basic Multilingual Plane (accented
        // letters, Cyrillic, CJK) in a tight loop of its own.
        while (i < n && units[i] >= 0x80 && (units[i] < 0xD800 || units[i] >= 0xE000) &&
               (!Json || units[i] < 0x2028 || units[i] > 0x2029)) {
            out = encodeUtf8(units[i++], out);
        }
        if (i >= n)
            break;
        char32_t c = units[i++];
        if (c < 0x80 && (!Json || (c >= 0x20 && c != u'"' && c != u'\\'))) {
            *out++ = static_cast<unsigned char>(c);
            continue;
        }
        if constexpr (Json) {
            // What is left below 0x80 is a quote, a backslash or a control character.
            if (c < 0x80 || c == 0x2028 || c == 0x2029) {
                out = escapeJson(c, out);
                continue;
            }
        }
        if (c >= 0xD800 && c < 0xDC00 && i < n && units[i] >= 0xDC00 && units[i] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i++] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate has no UTF-8 form
        out = encodeUtf8(c, out);
    }
}

} // namespace

Utf8Out::Utf8Out() : m_buffer(FlushAt + 64, Qt::Uninitialized) {}

Utf8Out::~Utf8Out()
{
    flush();
}

void Utf8Out::flush()
{
    if (m_size > 0)
        std::fwrite(m_buffer.constData(), 1, size_t(m_size), stdout);
    std::fflush(stdout);
    m_size = 0;
}

char *Utf8Out::makeRoom(qsizetype bytes)
{
    if (m_size + bytes > FlushAt && m_size > 0) {
        std::fwrite(m_buffer.constData(), 1, size_t(m_size), stdout);
        m_size = 0;
    }
    // Texts too long for the buffer grow it; 16 bytes of slack serve the
    // vector stores of encodePiece().
    if (m_size + bytes + 16 > m_buffer.size())
        m_buffer.resize(m_size + bytes + 64);
    return m_buffer.data() + m_size;
}

Utf8Out &Utf8Out::text(QStringView text)
{
    encode(text, false);
    return *this;
}

Utf8Out &Utf8Out::json(QStringView text)
{
    character('"');
    encode(text, true);
    character('"');
    return *this;
}

void Utf8Out::encode(QStringView text, bool json)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    for (qsizetype i = 0; i < text.size();) {
        // A piece at a time, with room for its worst case at once: six bytes a
        // unit in JSON ("\u2028"), three otherwise. A piece ends after a
        // surrogate pair, not inside it.
        qsizetype n = std::min(text.size(), i + 4096);
        if (n < text.size() && units[n - 1] >= 0xD800 && units[n - 1] < 0xDC00)
            ++n;
        auto *out = reinterpret_cast<unsigned char *>(room((json ? 6 : 3) * (n - i)));
        auto *const start = out;
        if (json)
            encodePiece<true>(units, i, n, out);
        else
            encodePiece<false>(units, i, n, out);
        m_size += out - start;
    }
}

Utf8Out &Utf8Out::column(QStringView text, qsizetype width, bool pad)
{
    const qsizetype cut = text.size() > width ? width - 1 : text.size();
    const QStringView part = text.first(cut);
    // Line breaks of .txt texts show as a return symbol, so a cell stays one line.
    qsizetype start = 0;
    for (qsizetype i = 0; i < part.size(); ++i) {
        if (part[i] == u'\n' || part[i] == u'\r') {
            this->text(part.sliced(start, i - start)).text(u"\u23CE");
            start = i + 1;
        }
    }
    this->text(part.sliced(start));
    qsizetype shown = cut;
    if (cut < text.size()) {
        this->text(u"\u2026");
        ++shown;
    }
    if (pad && shown < width) {
        std::memset(room(width - shown), ' ', size_t(width - shown));
        m_size += width - shown;
    }
    return *this;
}
