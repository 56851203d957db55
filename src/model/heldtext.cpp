// Escaping and unescaping between plain texts and held texts.
#include "model/heldtext.h"

#include <algorithm>

namespace {

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The code unit written as four hex digits at held[at], or -1.
int fourHexDigits(const QString &held, qsizetype at)
{
    if (at + 4 > held.size())
        return -1;
    int code = 0;
    for (qsizetype k = at; k < at + 4; ++k) {
        const int digit = hexValue(held.at(k));
        if (digit < 0)
            return -1;
        code = code * 16 + digit;
    }
    return code;
}

} // namespace

QString HeldText::fromPlain(const QString &plain)
{
    // Most texts need no escape; they are returned shared, without a copy.
    const auto needsEscape = [](QChar c) {
        return c == u'\\' || c == u'"' || c == u'\n' || c == u'\r';
    };
    if (std::none_of(plain.begin(), plain.end(), needsEscape))
        return plain;
    QString held;
    held.reserve(plain.size() + 8);
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case u'\\':
            held += u"\\\\";
            break;
        case u'"':
            held += u"\\\"";
            break;
        case u'\n':
            held += u"\\n";
            break;
        case u'\r':
            held += u"\\r";
            break;
        default:
            held += c;
        }
    }
    return held;
}

QString HeldText::toPlain(const QString &held)
{
    if (!held.contains(u'\\'))
        return held;
    QString plain;
    plain.reserve(held.size());
    const qsizetype n = held.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = held.at(i);
        if (c != u'\\' || i + 1 == n) {
            plain += c;
            continue;
        }
        const QChar e = held.at(++i);
        switch (e.unicode()) {
        case u'n':
            plain += u'\n';
            break;
        case u'r':
            plain += u'\r';
            break;
        case u't':
            plain += u'\t';
            break;
        case u'U':
            if (const int code = fourHexDigits(held, i + 1); code >= 0) {
                plain += QChar(char16_t(code));
                i += 4;
            } else {
                plain += e;
            }
            break;
        default:
            plain += e;
        }
    }
    return plain;
}
