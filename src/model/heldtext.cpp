// Conversions between held texts and plain texts.
#include "model/heldtext.h"

namespace {

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

QString HeldText::fromPlain(QStringView plain)
{
    QString out;
    out.reserve(plain.size() + 8);
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case u'\\': out.append(u"\\\\"); break;
        case u'"': out.append(u"\\\""); break;
        case u'\n': out.append(u"\\n"); break;
        case u'\r': out.append(u"\\r"); break;
        default: out.append(c); break;
        }
    }
    return out;
}

qsizetype HeldText::appendUnescaped(QStringView text, qsizetype at, QString &out)
{
    const qsizetype n = text.size();
    if (at + 1 >= n) {
        out.append(u'\\');
        return 1;
    }
    const char16_t e = text[at + 1].unicode();
    switch (e) {
    case u'n': out.append(u'\n'); return 2;
    case u't': out.append(u'\t'); return 2;
    case u'r': out.append(u'\r'); return 2;
    case u'a': out.append(QChar(0x07)); return 2;
    case u'b': out.append(QChar(0x08)); return 2;
    case u'f': out.append(QChar(0x0C)); return 2;
    case u'v': out.append(QChar(0x0B)); return 2;
    case u'U': {
        int value = 0;
        qsizetype i = at + 2;
        while (i < n && i < at + 6 && hexValue(text[i].unicode()) >= 0)
            value = value * 16 + hexValue(text[i++].unicode());
        if (i == at + 2)
            out.append(u'U');
        else
            out.append(QChar(char16_t(value)));
        return i - at;
    }
    default:
        break;
    }
    if (e >= u'0' && e <= u'7') {
        int value = 0;
        qsizetype i = at + 1;
        while (i < n && i < at + 4 && text[i] >= u'0' && text[i] <= u'7')
            value = value * 8 + (text[i++].unicode() - u'0');
        out.append(QChar(char16_t(value)));
        return i - at;
    }
    out.append(QChar(e));
    return 2;
}

QString HeldText::toPlain(QStringView held)
{
    qsizetype slash = held.indexOf(u'\\');
    if (slash < 0)
        return held.toString();
    QString out;
    out.reserve(held.size());
    qsizetype copied = 0;
    while (slash >= 0) {
        out.append(held.sliced(copied, slash - copied));
        copied = slash + appendUnescaped(held, slash, out);
        slash = copied < held.size() ? held.indexOf(u'\\', copied) : -1;
    }
    out.append(held.sliced(copied));
    return out;
}
