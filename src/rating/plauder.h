// Plauder counts how often the application is used and, once its thresholds
// are passed, asks the platform for a store-review prompt, at most once per
// repeat interval. All its state lives in Settings under "Plauder.*".
#pragma once

#include "plauderplatform.h"
#include "reviewdelegate.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <optional>

class Plauder : public QObject
{
public:
    // The process-wide instance, made once (safe under concurrent first
    // calls) on the Linux platform; its store lookup is started right after.
    // The application calls this first thing in main(), on the main thread,
    // and forwards every activation to appDidBeacomeActive().
    static Plauder &sharedInstance();

    // An instance on the given platform (tests use a fake). Resets the
    // counters if this is the user's first run and sets the default
    // thresholds 1, 5, 43200 s and 2592000 s.
    explicit Plauder(std::unique_ptr<PlauderPlatform> platform);
    ~Plauder() override;
    Plauder(const Plauder &) = delete;
    Plauder &operator=(const Plauder &) = delete;

    // The desktop shell's start-up configuration: makes `delegate` the
    // delegate and sets the thresholds 3 sessions, score 50, 900 s of use and
    // 432000 s between prompts.
    void configureForShell(ReviewDelegate *delegate);

    // Unless forced, an existing user's counters are kept. A reset writes the
    // version and the date and clears the session count and the last-prompt
    // date; the score and the store identifier are kept.
    void resetDefaultSettings(bool force);
    // true resets the counters when the version differs from the stored one.
    void setResetSettingsAfterUpdate(bool reset);
    bool resetSettingsAfterUpdate() const;

    // The application became active. With a notification the session count
    // goes up by one; the decision is taken in every case.
    void appDidBeacomeActive(bool notification = true);

    // Stores the identifier under "Plauder.appId"; std::nullopt removes it.
    void setAppStoreID(const std::optional<QString> &appStoreID);
    std::optional<QString> appStoreID() const;
    // Takes the stored identifier, else asks the platform's store for it by
    // bundle identifier. Where the platform has no store nothing is asked.
    void fetchAppIdIfNeeded();

    // Requests the prompt when the facility exists, the delegate agrees and
    // every threshold is passed (sessions, score, use time, repeat interval).
    // Decisions taken at the same time on different threads run one by one.
    void askUserForRatingIfNeeded();
    // Records the request time, then asks the platform on the main thread and
    // tells the delegate. Nothing at all without a store-review facility.
    void showRatingsPrompt();
    // Opens the store's write-a-review page; needs a store identifier and a
    // platform with a store.
    void openRatingsPageInAppStore();

    // Adds `delta` to the score on the serial score queue, so concurrent
    // calls never lose an increment; 0 does nothing at all.
    void increaseScore(qint64 delta);
    qint64 score() const;
    // Blocks until every queued score change has been made.
    void waitForScoreQueue();

    ReviewDelegate *delegate() const;
    void setDelegate(ReviewDelegate *delegate);

    qint64 minimalSessionCountBeforeReviewRequest() const;
    void setMinimalSessionCountBeforeReviewRequest(qint64 count);
    qint64 minimalScoreBeforeReviewRequest() const;
    void setMinimalScoreBeforeReviewRequest(qint64 score);
    double minimalUseIntervalBeforeReviewRequest() const;       // seconds
    void setMinimalUseIntervalBeforeReviewRequest(double seconds);
    double minimalRepeatInterval() const;                        // seconds
    void setMinimalRepeatInterval(double seconds);

    // The store lookup address for a bundle identifier on a lookup host.
    static QUrl lookupUrl(const QString &host, const QString &bundleIdentifier);

private:
    void handleLookupReply(const QByteArray &body);
    static double secondsBetween(const QDateTime &from, const QDateTime &to);

    QThreadPool m_scoreQueue;
    std::atomic<bool> m_resetSettingsAfterUpdate{false};
    std::atomic<ReviewDelegate *> m_delegate{nullptr};
    mutable QMutex m_appStoreIDMutex;
    std::optional<QString> m_appStoreID;
    std::atomic<qint64> m_minimalSessionCount{1};
    std::atomic<qint64> m_minimalScore{5};
    std::atomic<double> m_minimalUseInterval{43200.0};
    std::atomic<double> m_minimalRepeatInterval{2592000.0};

    QMutex m_decisionMutex;
    std::unique_ptr<PlauderPlatform> m_platform;
    // Expires with the instance; a late store reply checks it.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
