// What the single-field settings dialogs show and what their "OK" stores:
// the Google API key, the base-language list and the ignored languages. The window that shows them
// lives in the desktop app; this holds every rule.
#pragma once

#include <QString>
#include <QStringList>

class Settings;

// One modal informational alert with a one-line text field and the buttons
// "OK" (the default) and "Cancel". Only "OK" calls apply(); "Cancel" leaves
// the settings untouched. The fixed texts come already passed through
// QCoreApplication::translate with the context TranslationContext.
class SettingsDialog
{
public:
    static constexpr const char *TranslationContext = "SettingsDialog";
    static constexpr int FieldWidth = 320;   // points
    static constexpr int FieldHeight = 24;

    enum class Kind { GoogleApiKey, BaseLanguage, IgnoredLanguages };

    // Title "Google Translate API Key", text "API Key", placeholder "Google
    // Translate API Key", initial text: the stored "google.api.key" or empty.
    static SettingsDialog googleApiKey(const Settings &settings);
    // Title "Base Language", the two-line informative text, placeholder: the
    // candidate list in effect joined with ", ", initial text: the stored
    // "base.language" when it is a single text, else empty.
    static SettingsDialog baseLanguage(const Settings &settings);

    // Title "Ignored Languages", a two-line text on what they do, placeholder
    // "none", initial text: the "status.ignoredLanguages" list joined with ", ".
    static SettingsDialog ignoredLanguages(const Settings &settings);

    // The "OK" answer with the field's text as it stands. Ignored languages
    // are stored as Settings::languageList() of the entry, and an entry that
    // names none removes the key. An empty entry
    // removes the key. The API key is stored exactly as entered; the base
    // language is split at every "," and each part trimmed, empty parts kept,
    // and stored as a list even with one part. Every change is flushed.
    void apply(Settings &settings, const QString &entered) const;

    // Before a base-language entry is stored: a warning when it names no
    // language at all (only spaces and commas), or when projects are open and
    // none of their languages is among the entered ones, since every row
    // would then lack a base text. Empty when the entry is fine or empty.
    static QString baseLanguageWarning(const QString &entered, const QStringList &openLanguages);
    // The titles of the two buttons of that warning: go on, go back.
    static QString useAnywayButton();
    static QString goBackButton();

    Kind kind;
    QString title;
    QString informativeText;
    QString placeholder;
    QString initialText;
    QString okButton;      // "OK"
    QString cancelButton;  // "Cancel"
};
