// The per-user preferences store: a JSON file registered as a QSettings format,
// so values keep their types across runs (the INI format folds a one-item list
// into a plain text, which the base-language setting must tell apart).
#include "common/settings.h"

#include "common/languages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex s_candidatesMutex;
// The candidates are asked for on every drawn cell; opening the store each time
// costs far more than the cell. Every write through this class drops the copy.
std::optional<QStringList> s_candidates;
// The ignored languages are asked for as often, and kept the same way.
std::optional<QStringList> s_ignored;

const QString kDateTag = QStringLiteral("$date");
const QString kIntTag = QStringLiteral("$int");

QJsonValue toJson(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QJsonObject{{kIntTag, QString::number(v.toLongLong())}};
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QDateTime:
        return QJsonObject{{kDateTag, v.toDateTime().toUTC().toString(Qt::ISODateWithMs)}};
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(v.toStringList());
    default:
        return v.toString();
    }
}

QVariant fromJson(const QJsonValue &v)
{
    if (v.isBool())
        return v.toBool();
    if (v.isDouble())
        return v.toDouble();
    if (v.isArray()) {
        QStringList list;
        for (const QJsonValue &item : v.toArray())
            list << item.toString();
        return list;
    }
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (o.contains(kIntTag))
            return o.value(kIntTag).toString().toLongLong();
        if (o.contains(kDateTag))
            return QDateTime::fromString(o.value(kDateTag).toString(), Qt::ISODateWithMs);
        return {};
    }
    return v.toString();
}

bool readJson(QIODevice &device, QSettings::SettingsMap &map)
{
    const QJsonDocument doc = QJsonDocument::fromJson(device.readAll());
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it)
        map.insert(it.key(), fromJson(it.value()));
    return true;
}

bool writeJson(QIODevice &device, const QSettings::SettingsMap &map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it)
        root.insert(it.key(), toJson(it.value()));
    return device.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

} // namespace

const QStringList &Settings::defaultBaseLanguages()
{
    return Languages::defaultBaseLanguages();
}

Settings::Settings()
    : m_settings(std::make_unique<QSettings>(jsonFormat(), QSettings::UserScope,
                                             QStringLiteral("com.brenquil.verbalo"),
                                             QStringLiteral("verbalo")))
{
}

Settings::~Settings() = default;

bool Settings::contains(const QString &key) const { return m_settings->contains(key); }

QVariant Settings::value(const QString &key) const { return m_settings->value(key); }

void Settings::setValue(const QString &key, const QVariant &value)
{
    m_settings->setValue(key, value);
    m_settings->sync();
    forgetCandidates(key);
}

void Settings::remove(const QString &key)
{
    m_settings->remove(key);
    m_settings->sync();
    forgetCandidates(key);
}

void Settings::forgetCandidates(const QString &key)
{
    if (key != BaseLanguage && key != IgnoredLanguages)
        return;
    QMutexLocker lock(&s_candidatesMutex);
    s_candidates.reset();
    s_ignored.reset();
}

bool Settings::boolValue(const QString &key) const { return value(key).toBool(); }

qint64 Settings::integerValue(const QString &key) const { return value(key).toLongLong(); }

std::optional<QString> Settings::text(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<QDateTime> Settings::date(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QDateTime || !v.toDateTime().isValid())
        return std::nullopt;
    return v.toDateTime();
}

QStringList Settings::baseLanguageCandidates()
{
    QMutexLocker lock(&s_candidatesMutex);
    if (!s_candidates) {
        const QVariant v = Settings().value(BaseLanguage);
        if (v.typeId() == QMetaType::QStringList)
            s_candidates = v.toStringList();
        else if (v.typeId() == QMetaType::QString)
            s_candidates = QStringList{v.toString()};
        else
            s_candidates = defaultBaseLanguages();
    }
    return *s_candidates;
}

QStringList Settings::ignoredLanguages()
{
    QMutexLocker lock(&s_candidatesMutex);
    if (!s_ignored) {
        const QVariant v = Settings().value(IgnoredLanguages);
        if (v.typeId() == QMetaType::QStringList)
            s_ignored = languageList(v.toStringList().join(QLatin1Char(',')));
        else if (v.typeId() == QMetaType::QString)
            s_ignored = languageList(v.toString());
        else
            s_ignored = QStringList();
    }
    return *s_ignored;
}

QStringList Settings::languageList(const QString &text)
{
    QStringList names;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QString name = part.trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QStringList Settings::recentFolders() const
{
    const QVariant v = value(RecentFolders);
    return v.typeId() == QMetaType::QStringList ? v.toStringList() : QStringList{};
}

void Settings::addRecentFolder(const QString &path)
{
    QStringList list = recentFolders();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > MaxRecentFolders)
        list.removeLast();
    setValue(RecentFolders, list);
}

QString Settings::fileName() const { return m_settings->fileName(); }
