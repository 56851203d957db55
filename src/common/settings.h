// The per-user preferences store. Every key the program keeps goes through this
// class; each write is flushed at once. The file lives under $XDG_CONFIG_HOME.
#pragma once

#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class Settings
{
public:
    static inline const QString HideTranslated = QStringLiteral("hide.translated");
    static inline const QString StopWarning = QStringLiteral("com.brenquil.stop.warning");
    static inline const QString GoogleApiKey = QStringLiteral("google.api.key");
    static inline const QString BaseLanguage = QStringLiteral("base.language");
    static inline const QString OnlyProblems = QStringLiteral("show.only.problems");
    static inline const QString IgnoredLanguages = QStringLiteral("status.ignoredLanguages");
    // "canonical" (the default) or "preserve": how saves lay out the files.
    static inline const QString SavingLayout = QStringLiteral("save.layout");
    // The locale whose collation orders keys in the canonical layout; empty
    // or absent: the current locale.
    static inline const QString SavingCollationLocale = QStringLiteral("save.collationLocale");
    static inline const QString RecentFolders = QStringLiteral("recent.folders");
    static inline const QString PlauderVersion = QStringLiteral("Plauder.version");
    static inline const QString PlauderDate = QStringLiteral("Plauder.date");
    static inline const QString PlauderLaunches = QStringLiteral("Plauder.launches");
    static inline const QString PlauderAppStore = QStringLiteral("Plauder.appStore");
    static inline const QString PlauderAppId = QStringLiteral("Plauder.appId");
    static inline const QString PlauderScore = QStringLiteral("Plauder.score_new");

    static const QStringList &defaultBaseLanguages(); // "Base", "en", "en-US"
    static constexpr int MaxRecentFolders = 20;

    Settings();
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // Raw access. The store keeps the type written: a one-item list stays a
    // list, and a text stays a text. Every write and remove is flushed.
    bool contains(const QString &key) const;
    QVariant value(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);

    bool boolValue(const QString &key) const;           // absent: false
    qint64 integerValue(const QString &key) const;      // absent: 0
    std::optional<QString> text(const QString &key) const;
    std::optional<QDateTime> date(const QString &key) const;

    // The stored list; else a stored single text as a one-item list; else the
    // default list. Read once and kept until a write through this class.
    static QStringList baseLanguageCandidates();

    // The language names that never count as missing: the stored list (or a
    // stored text, split at commas), trimmed, empty names and repeats left
    // out; absent, none. Read once and kept until a write through this class.
    static QStringList ignoredLanguages();
    // A comma-separated list of language names, trimmed, empty names and
    // repeats left out, in order.
    static QStringList languageList(const QString &text);

    // Our own recent-folders list, most recent first, at most MaxRecentFolders.
    QStringList recentFolders() const;
    void addRecentFolder(const QString &path);

    QString fileName() const;

private:
    static void forgetCandidates(const QString &key);

    std::unique_ptr<QSettings> m_settings;
};
