// Standard output for large results: texts converted to UTF-8 straight into a
// buffer that is written out in large pieces, with JSON strings escaped on
// the way, so a table of a quarter of a million rows prints in a moment.
#pragma once

#include <QByteArray>
#include <QStringView>
#include <cstring>

class Utf8Out
{
public:
    Utf8Out();
    // Flushes what is left.
    ~Utf8Out();
    Utf8Out(const Utf8Out &) = delete;
    Utf8Out &operator=(const Utf8Out &) = delete;

    Utf8Out &text(QStringView text);
    template<qsizetype N>
    Utf8Out &ascii(const char (&text)[N])
    {
        std::memcpy(room(N - 1), text, N - 1);
        m_size += N - 1;
        return *this;
    }
    // A text of ASCII characters known only at run time.
    Utf8Out &asciiz(const char *text)
    {
        const qsizetype n = qsizetype(std::strlen(text));
        std::memcpy(room(n), text, size_t(n));
        m_size += n;
        return *this;
    }
    Utf8Out &character(char c)
    {
        *room(1) = c;
        ++m_size;
        return *this;
    }
    // The text as a JSON string: quoted, with quotes, backslashes, control
    // characters and the two line separators escaped.
    Utf8Out &json(QStringView text);
    // `text` cut or padded to `width` characters; a cut text ends in "…".
    Utf8Out &column(QStringView text, qsizetype width, bool pad);

    void flush();

private:
    // Where `bytes` more bytes can be written, writing the buffer out first
    // when it is full.
    char *room(qsizetype bytes)
    {
        if (m_size + bytes + 16 <= m_buffer.size() && m_size + bytes <= FlushAt)
            return m_buffer.data() + m_size;
        return makeRoom(bytes);
    }
    char *makeRoom(qsizetype bytes);
    // The text as UTF-8, as the inside of a JSON string when `json`.
    void encode(QStringView text, bool json);

    static constexpr qsizetype FlushAt = 1 << 20;

    QByteArray m_buffer;
    qsizetype m_size = 0;
};
