// Choosing the interface language and loading its translations: Verbalo's from
// the program's resources, Qt's from the system's Qt translations folder.
#include "gui/interfacelanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

InterfaceLanguage::InterfaceLanguage(const QLocale &locale)
{
    for (const QString &name : locale.uiLanguages()) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::English)
            return;
        if (language == QLocale::C || language == QLocale::AnyLanguage)
            continue;
        const QString code = QLocale::languageToCode(language);
        if (!m_verbalo.load(QStringLiteral(":/i18n/verbalo_%1.qm").arg(code)))
            continue;
        m_language = code;
        QCoreApplication::installTranslator(&m_verbalo);
        // The file dialog, the names of shortcut keys and Qt's other texts;
        // without the system's Qt translations they stay English.
        if (m_qt.load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
        return;
    }
}
