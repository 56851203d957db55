// The interface in the user's language: the translators of Verbalo's own texts
// and of Qt's dialogs, installed for as long as the object lives.
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

class InterfaceLanguage
{
public:
    // Walks the locale's interface languages in order of preference and
    // installs the first one Verbalo is translated into. English, the
    // language of the sources, ends the walk with nothing installed, so a
    // preference for English is never overruled by a later fallback.
    explicit InterfaceLanguage(const QLocale &locale = QLocale::system());
    InterfaceLanguage(const InterfaceLanguage &) = delete;
    InterfaceLanguage &operator=(const InterfaceLanguage &) = delete;

    // The code of the language installed ("de", "fr"); empty for English.
    QString language() const { return m_language; }

private:
    // A QTranslator takes itself out of the application when destroyed.
    QTranslator m_verbalo;
    QTranslator m_qt;
    QString m_language;
};
