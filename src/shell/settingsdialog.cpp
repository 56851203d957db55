// The single-field settings dialogs' texts and their effect on the settings.
#include "settingsdialog.h"

#include "common/settings.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate(SettingsDialog::TranslationContext, text);
}

const char *const kApiKeyTitle = QT_TRANSLATE_NOOP("SettingsDialog", "Google Translate API Key");
const char *const kApiKeyText = QT_TRANSLATE_NOOP("SettingsDialog", "API Key");
const char *const kApiKeyPlaceholder =
    QT_TRANSLATE_NOOP("SettingsDialog", "Google Translate API Key");
const char *const kBaseTitle = QT_TRANSLATE_NOOP("SettingsDialog", "Base Language");
const char *const kBaseText = QT_TRANSLATE_NOOP(
    "SettingsDialog",
    "Set your base language (for example: \"en\" for English).\n"
    "If you leave empty, defaults to [\"en\", \"en-US\", \"Base\"]");
const char *const kNoLanguage = QT_TRANSLATE_NOOP(
    "SettingsDialog", "The entry names no language, so no row would have a base text. Use it anyway?");
const char *const kNoProjectLanguage = QT_TRANSLATE_NOOP(
    "SettingsDialog",
    "No open project has a language named %1, so no row would have a base text. Use it anyway?");
const char *const kIgnoredTitle = QT_TRANSLATE_NOOP("SettingsDialog", "Ignored Languages");
const char *const kIgnoredText = QT_TRANSLATE_NOOP(
    "SettingsDialog",
    "Languages that never count as missing: in the Status column, Hide Translated,\n"
    "Export Untranslated and the checks. Separate them with commas (for example: \"Base\").");
const char *const kIgnoredPlaceholder = QT_TRANSLATE_NOOP("SettingsDialog", "none");
const char *const kUseAnyway = QT_TRANSLATE_NOOP("SettingsDialog", "Use Anyway");
const char *const kGoBack = QT_TRANSLATE_NOOP("SettingsDialog", "Go Back");
const char *const kOk = QT_TRANSLATE_NOOP("SettingsDialog", "OK");
const char *const kCancel = QT_TRANSLATE_NOOP("SettingsDialog", "Cancel");

SettingsDialog withButtons(SettingsDialog dialog)
{
    dialog.okButton = translated(kOk);
    dialog.cancelButton = translated(kCancel);
    return dialog;
}

} // namespace

SettingsDialog SettingsDialog::googleApiKey(const Settings &settings)
{
    SettingsDialog dialog;
    dialog.kind = Kind::GoogleApiKey;
    dialog.title = translated(kApiKeyTitle);
    dialog.informativeText = translated(kApiKeyText);
    dialog.placeholder = translated(kApiKeyPlaceholder);
    dialog.initialText = settings.text(Settings::GoogleApiKey).value_or(QString());
    return withButtons(dialog);
}

SettingsDialog SettingsDialog::baseLanguage(const Settings &settings)
{
    SettingsDialog dialog;
    dialog.kind = Kind::BaseLanguage;
    dialog.title = translated(kBaseTitle);
    dialog.informativeText = translated(kBaseText);
    dialog.placeholder = settings.baseLanguageCandidates().join(QStringLiteral(", "));
    dialog.initialText = settings.text(Settings::BaseLanguage).value_or(QString());
    return withButtons(dialog);
}

SettingsDialog SettingsDialog::ignoredLanguages(const Settings &)
{
    SettingsDialog dialog;
    dialog.kind = Kind::IgnoredLanguages;
    dialog.title = translated(kIgnoredTitle);
    dialog.informativeText = translated(kIgnoredText);
    dialog.placeholder = translated(kIgnoredPlaceholder);
    dialog.initialText = Settings::ignoredLanguages().join(QStringLiteral(", "));
    return withButtons(dialog);
}

QString SettingsDialog::baseLanguageWarning(const QString &entered, const QStringList &openLanguages)
{
    if (entered.isEmpty())
        return {};
    QStringList parts = entered.split(QLatin1Char(','));
    for (QString &part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    if (parts.isEmpty())
        return translated(kNoLanguage);
    if (openLanguages.isEmpty())
        return {};
    for (const QString &part : std::as_const(parts))
        if (openLanguages.contains(part))
            return {};
    return translated(kNoProjectLanguage).arg(parts.join(QStringLiteral(", ")));
}

QString SettingsDialog::useAnywayButton() { return translated(kUseAnyway); }
QString SettingsDialog::goBackButton() { return translated(kGoBack); }

void SettingsDialog::apply(Settings &settings, const QString &entered) const
{
    if (kind == Kind::IgnoredLanguages) {
        const QStringList names = Settings::languageList(entered);
        if (names.isEmpty())
            settings.remove(Settings::IgnoredLanguages);
        else
            settings.setValue(Settings::IgnoredLanguages, names);
        return;
    }
    const QString &key = kind == Kind::GoogleApiKey ? Settings::GoogleApiKey
                                                    : Settings::BaseLanguage;
    if (entered.isEmpty()) {
        settings.remove(key);
        return;
    }
    if (kind == Kind::GoogleApiKey) {
        settings.setValue(key, entered);
        return;
    }
    QStringList parts = entered.split(QLatin1Char(','));
    for (QString &part : parts)
        part = part.trimmed();
    settings.setValue(key, parts);
}
