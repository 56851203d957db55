// The buffered UTF-8 writer of verbalo-cli's results.
#include "cli/utf8out.h"

#include <bit>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Copies the run at the start of [units, units + n) that needs no care into
// `out` as bytes: ASCII, and (when `json`) no quote, backslash or control
// character. Returns its length. May write up to 16 bytes past the run.
qsizetype copyPlain(const char16_t *units, qsizetype n, char *out, bool json)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i quote = _mm_set1_epi16(u'"');
    const __m128i backslash = _mm_set1_epi16(u'\\');
    const __m128i space = _mm_set1_epi16(0x20);
    const auto special = [&](__m128i v) {
        __m128i bad = _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128()),
                                    _mm_set1_epi16(-1));
        if (json) {
            bad = _mm_or_si128(bad, _mm_cmpeq_epi16(v, quote));
            bad = _mm_or_si128(bad, _mm_cmpeq_epi16(v, backslash));
            bad = _mm_or_si128(bad, _mm_cmplt_epi16(v, space));
        }
        return bad;
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(a, b));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(special(a), special(b))));
        if (mask != 0)
            return i + std::countr_zero(mask);
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = units[i];
        if (c >= 0x80 || (json && (c == u'"' || c == u'\\' || c < 0x20)))
            break;
        out[i] = char(c);
    }
    return i;
}

} // namespace

Utf8Out::Utf8Out() : m_buffer(FlushAt + 64, Qt::Uninitialized) {}

Utf8Out::~Utf8Out() { flush(); }

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
    // Texts too long for the buffer grow it; 16 bytes of slack serve copyPlain.
    if (m_size + bytes + 16 > m_buffer.size())
        m_buffer.resize(m_size + bytes + 64);
    return m_buffer.data() + m_size;
}

void Utf8Out::appendUtf8(const char16_t *units, qsizetype n)
{
    auto *out = reinterpret_cast<unsigned char *>(room(n * 3));
    auto *start = out;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // a lone surrogate has no UTF-8 form
        }
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
    }
    m_size += out - start;
}

Utf8Out &Utf8Out::text(QStringView text)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype run = copyPlain(units + i, n - i, room(n - i), false);
        m_size += run;
        i += run;
        if (i < n) {
            qsizetype end = i;
            while (end < n && units[end] >= 0x80)
                ++end;
            appendUtf8(units + i, end - i);
            i = end;
        }
    }
    return *this;
}


Utf8Out &Utf8Out::json(QStringView text)
{
    character('"');
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype run = copyPlain(units + i, n - i, room(n - i), true);
        m_size += run;
        i += run;
        if (i >= n)
            break;
        const char16_t c = units[i];
        switch (c) {
        case u'"': ascii("\\\""); break;
        case u'\\': ascii("\\\\"); break;
        case u'\b': ascii("\\b"); break;
        case u'\f': ascii("\\f"); break;
        case u'\n': ascii("\\n"); break;
        case u'\r': ascii("\\r"); break;
        case u'\t': ascii("\\t"); break;
        default:
            if (c < 0x20 || c == 0x2028 || c == 0x2029) {
                char *out = room(6);
                std::snprintf(out, 7, "\\u%04x", unsigned(c));
                m_size += 6;
            } else {
                qsizetype end = i;
                while (end < n && units[end] >= 0x80 && units[end] != 0x2028 && units[end] != 0x2029)
                    ++end;
                appendUtf8(units + i, end - i);
                i = end;
                continue;
            }
        }
        ++i;
    }
    character('"');
    return *this;
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
