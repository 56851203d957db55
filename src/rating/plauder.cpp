// Plauder: the rating prompt's counters, its decision and its store lookup.
#include "plauder.h"

#include "common/settings.h"
#include "linuxplauderplatform.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QThread>
#include <QUrlQuery>
#include <cmath>

Plauder &Plauder::sharedInstance()
{
    static Plauder *const instance = [] {
        auto *plauder = new Plauder(std::make_unique<LinuxPlauderPlatform>());
        plauder->fetchAppIdIfNeeded();
        return plauder;
    }();
    return *instance;
}

Plauder::Plauder(std::unique_ptr<PlauderPlatform> platform)
    : m_platform(std::move(platform))
{
    // Prompt requests are delivered through this object's thread, which must
    // be the main thread even when the first caller is not.
    if (QCoreApplication *app = QCoreApplication::instance(); app && thread() != app->thread())
        moveToThread(app->thread());
    resetDefaultSettings(false);
    m_scoreQueue.setObjectName(QStringLiteral("com.brenquil.review.score"));
    m_scoreQueue.setMaxThreadCount(1);
}

Plauder::~Plauder()
{
    m_alive.reset();
    m_scoreQueue.waitForDone();
}

void Plauder::configureForShell(ReviewDelegate *delegate)
{
    setDelegate(delegate);
    setMinimalSessionCountBeforeReviewRequest(3);
    setMinimalScoreBeforeReviewRequest(50);
    setMinimalUseIntervalBeforeReviewRequest(900.0);
    setMinimalRepeatInterval(432000.0);
}

void Plauder::resetDefaultSettings(bool force)
{
    Settings settings;
    if (!force && settings.contains(Settings::PlauderVersion))
        return;
    settings.setValue(Settings::PlauderVersion, m_platform->shortVersion());
    settings.setValue(Settings::PlauderDate, m_platform->now());
    settings.remove(Settings::PlauderLaunches);
    settings.remove(Settings::PlauderAppStore);
}

void Plauder::setResetSettingsAfterUpdate(bool reset)
{
    m_resetSettingsAfterUpdate = reset;
    if (!reset)
        return;
    if (Settings().text(Settings::PlauderVersion) != m_platform->shortVersion())
        resetDefaultSettings(true);
}

bool Plauder::resetSettingsAfterUpdate() const { return m_resetSettingsAfterUpdate; }

void Plauder::appDidBeacomeActive(bool notification)
{
    if (notification) {
        Settings settings;
        settings.setValue(Settings::PlauderLaunches,
                          settings.integerValue(Settings::PlauderLaunches) + 1);
    }
    askUserForRatingIfNeeded();
}

void Plauder::setAppStoreID(const std::optional<QString> &appStoreID)
{
    {
        QMutexLocker lock(&m_appStoreIDMutex);
        m_appStoreID = appStoreID;
    }
    Settings settings;
    if (appStoreID)
        settings.setValue(Settings::PlauderAppId, *appStoreID);
    else
        settings.remove(Settings::PlauderAppId);
}

std::optional<QString> Plauder::appStoreID() const
{
    QMutexLocker lock(&m_appStoreIDMutex);
    return m_appStoreID;
}

void Plauder::fetchAppIdIfNeeded()
{
    const auto known = [this] {
        const std::optional<QString> id = appStoreID();
        return id && !id->isEmpty();
    };
    if (known())
        return;
    setAppStoreID(Settings().text(Settings::PlauderAppId));
    if (known())
        return;
    const QString bundleIdentifier = m_platform->bundleIdentifier();
    const QString host = m_platform->storeLookupHost();
    if (bundleIdentifier.isEmpty() || host.isEmpty())
        return;
    const std::weak_ptr<int> alive = m_alive;
    m_platform->get(lookupUrl(host, bundleIdentifier),
                    [this, alive](const std::optional<QByteArray> &body) {
                        if (alive.expired() || !body || body->isEmpty())
                            return;
                        handleLookupReply(*body);
                    });
}

QUrl Plauder::lookupUrl(const QString &host, const QString &bundleIdentifier)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host);
    url.setPath(QStringLiteral("/lookup"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("bundleId"), bundleIdentifier);
    url.setQuery(query);
    return url;
}

void Plauder::handleLookupReply(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return;
    const QJsonValue results = document.object().value(QStringLiteral("results"));
    if (!results.isArray() || results.toArray().isEmpty())
        return;
    const QJsonValue first = results.toArray().first();
    if (!first.isObject())
        return;
    const QJsonValue trackId = first.toObject().value(QStringLiteral("trackId"));
    if (trackId.isDouble()) {
        const double number = trackId.toDouble();
        const bool integral = std::trunc(number) == number && std::fabs(number) < 9.0e15;
        setAppStoreID(integral ? QString::number(qint64(number)) : QString::number(number));
    } else if (trackId.isString()) {
        setAppStoreID(trackId.toString());
    } else {
        return;
    }
    askUserForRatingIfNeeded();
}

double Plauder::secondsBetween(const QDateTime &from, const QDateTime &to)
{
    return double(from.msecsTo(to)) / 1000.0;
}

void Plauder::askUserForRatingIfNeeded()
{
    QMutexLocker lock(&m_decisionMutex);
    if (!m_platform->hasStoreReview())
        return;
    if (ReviewDelegate *delegate = m_delegate.load()) {
        const std::optional<bool> wanted = delegate->shouldRequestFeedback();
        if (wanted && !*wanted)
            return;
        const std::optional<bool> crashed = delegate->didCrashInLastSession();
        if (crashed && *crashed)
            return;
    }
    Settings settings;
    if (settings.integerValue(Settings::PlauderLaunches) < m_minimalSessionCount.load())
        return;
    if (settings.integerValue(Settings::PlauderScore) < m_minimalScore.load())
        return;
    const QDateTime now = m_platform->now();
    const std::optional<QDateTime> reset = settings.date(Settings::PlauderDate);
    if (reset && secondsBetween(*reset, now) < m_minimalUseInterval.load())
        return;
    const std::optional<QDateTime> lastPrompt = settings.date(Settings::PlauderAppStore);
    if (lastPrompt && secondsBetween(*lastPrompt, now) < m_minimalRepeatInterval.load())
        return;
    showRatingsPrompt();
}

void Plauder::showRatingsPrompt()
{
    if (!m_platform->hasStoreReview())
        return;
    Settings().setValue(Settings::PlauderAppStore, m_platform->now());
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_platform->requestReview();
            if (ReviewDelegate *delegate = m_delegate.load())
                delegate->didShowAppleRatingsPrompt();
        },
        Qt::QueuedConnection);
}

void Plauder::openRatingsPageInAppStore()
{
    const std::optional<QString> id = appStoreID();
    if (!id || id->isEmpty())
        return;
    const QString host = m_platform->storeReviewHost();
    if (host.isEmpty())
        return;
    Settings().setValue(Settings::PlauderAppStore, m_platform->now());
    QUrl url;
    url.setScheme(QStringLiteral("itms-apps"));
    url.setHost(host);
    url.setPath(QStringLiteral("/app/apple-store/id") + *id);
    url.setQuery(QStringLiteral("mt=8&action=write-review"));
    m_platform->openUrl(url);
}

void Plauder::increaseScore(qint64 delta)
{
    if (delta == 0)
        return;
    m_scoreQueue.start([this, delta] {
        Settings settings;
        const qint64 score = settings.integerValue(Settings::PlauderScore) + delta;
        settings.setValue(Settings::PlauderScore, score);
        if (score >= m_minimalScore.load())
            askUserForRatingIfNeeded();
    });
}

qint64 Plauder::score() const { return Settings().integerValue(Settings::PlauderScore); }

void Plauder::waitForScoreQueue() { m_scoreQueue.waitForDone(); }

ReviewDelegate *Plauder::delegate() const { return m_delegate.load(); }

void Plauder::setDelegate(ReviewDelegate *delegate) { m_delegate = delegate; }

qint64 Plauder::minimalSessionCountBeforeReviewRequest() const { return m_minimalSessionCount; }

void Plauder::setMinimalSessionCountBeforeReviewRequest(qint64 count)
{
    m_minimalSessionCount = count;
}

qint64 Plauder::minimalScoreBeforeReviewRequest() const { return m_minimalScore; }

void Plauder::setMinimalScoreBeforeReviewRequest(qint64 score) { m_minimalScore = score; }

double Plauder::minimalUseIntervalBeforeReviewRequest() const { return m_minimalUseInterval; }

void Plauder::setMinimalUseIntervalBeforeReviewRequest(double seconds)
{
    m_minimalUseInterval = seconds;
}

double Plauder::minimalRepeatInterval() const { return m_minimalRepeatInterval; }

void Plauder::setMinimalRepeatInterval(double seconds) { m_minimalRepeatInterval = seconds; }
