// .stringsdict files for the tests that need a plural key on disk: one key,
// each variable an integer plural rule, tab-indented as Xcode writes them.
#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

using PluralTexts = QList<std::pair<const char *, const char *>>;

inline QByteArray pluralDict(const char *key, const char *format,
                             const QList<std::pair<const char *, PluralTexts>> &variables)
{
    QByteArray out = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                                "\t<key>") + key + "</key>\n\t<dict>\n\t\t<key>NSStringLocalizedFormatKey</key>\n"
                     "\t\t<string>" + format + "</string>\n";
    for (const auto &[name, texts] : variables) {
        out += QByteArray("\t\t<key>") + name + "</key>\n\t\t<dict>\n"
               "\t\t\t<key>NSStringFormatSpecTypeKey</key>\n\t\t\t<string>NSStringPluralRuleType</string>\n"
               "\t\t\t<key>NSStringFormatValueTypeKey</key>\n\t\t\t<string>d</string>\n";
        for (const auto &[category, text] : texts)
            out += QByteArray("\t\t\t<key>") + category + "</key>\n\t\t\t<string>" + text + "</string>\n";
        out += "\t\t</dict>\n";
    }
    return out + "\t</dict>\n</dict>\n</plist>\n";
}
