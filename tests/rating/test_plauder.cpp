// The rating prompt's decision, driven by a fake store-review facility and a
// fake clock.
#include "common/settings.h"
#include "rating/plauder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

const QDateTime kStart = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

class FakePlatform : public PlauderPlatform
{
public:
    bool hasStoreReview() const override { return storeReview; }
    void requestReview() override { ++reviewRequests; }
    void openUrl(const QUrl &url) override { opened << url; }
    QDateTime now() const override { return clock; }
    QString shortVersion() const override { return version; }
    QString bundleIdentifier() const override { return "com.example.app"; }
    QString storeLookupHost() const override { return "lookup.example"; }
    QString storeReviewHost() const override { return "store.example"; }
    void get(const QUrl &url, Reply done) override
    {
        requested << url;
        pending = std::move(done);
    }

    bool storeReview = true;
    int reviewRequests = 0;
    QList<QUrl> opened;
    QDateTime clock = kStart;
    QString version = "2.0";
    QList<QUrl> requested;
    Reply pending;
};

class CountingDelegate : public ReviewDelegate
{
public:
    std::optional<bool> didCrashInLastSession() override { return crashed; }
    std::optional<bool> shouldRequestFeedback() override { return wanted; }

    std::optional<bool> crashed;
    std::optional<bool> wanted;
};

class PlauderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const QString &key :
             {Settings::PlauderVersion, Settings::PlauderDate, Settings::PlauderLaunches,
              Settings::PlauderAppStore, Settings::PlauderAppId, Settings::PlauderScore})
            settings.remove(key);
    }

    std::unique_ptr<Plauder> make()
    {
        auto platform = std::make_unique<FakePlatform>();
        fake = platform.get();
        return std::make_unique<Plauder>(std::move(platform));
    }

    // Requests reach the platform on the main thread, through the event loop.
    int requestsAfterEvents()
    {
        QCoreApplication::processEvents();
        return fake->reviewRequests;
    }

    void advance(qint64 seconds) { fake->clock = fake->clock.addSecs(seconds); }

    FakePlatform *fake = nullptr;
    Settings settings;
};

// Counters start on the first run and survive a later process; an update
// restarts them (all but the score) when asked to. Then each of the shell's
// thresholds just short holds the prompt back, as do the delegate and a
// missing store-review facility; reaching the minimum score takes the
// decision on the score queue; a second prompt waits for the repeat interval.
TEST_F(PlauderTest, CountersAndTheShellThresholdsDelegateAndFacilityGateThePrompt)
{
    auto plauder = make();
    plauder->appDidBeacomeActive();
    plauder->appDidBeacomeActive(false);
    plauder.reset();
    plauder = make();
    plauder->appDidBeacomeActive();
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 2);

    settings.setValue(Settings::PlauderScore, 49);
    fake->version = "2.1";
    advance(3600);
    plauder->setResetSettingsAfterUpdate(false);
    EXPECT_EQ(settings.date(Settings::PlauderDate), kStart);
    plauder->setResetSettingsAfterUpdate(true);
    EXPECT_EQ(settings.text(Settings::PlauderVersion), "2.1");
    EXPECT_EQ(settings.date(Settings::PlauderDate), fake->clock);
    EXPECT_FALSE(settings.contains(Settings::PlauderLaunches));
    EXPECT_EQ(settings.integerValue(Settings::PlauderScore), 49);

    CountingDelegate delegate;
    plauder->configureForShell(&delegate);
    const QDateTime reset = fake->clock;
    advance(900);
    for (int i = 0; i < 3; ++i)
        plauder->appDidBeacomeActive();
    settings.setValue(Settings::PlauderScore, 50);
    settings.setValue(Settings::PlauderDate, reset.addSecs(1));
    plauder->askUserForRatingIfNeeded();
    settings.setValue(Settings::PlauderDate, reset);
    settings.setValue(Settings::PlauderLaunches, 2);
    plauder->askUserForRatingIfNeeded();
    settings.setValue(Settings::PlauderLaunches, 3);
    delegate.wanted = false;
    plauder->askUserForRatingIfNeeded();
    delegate.wanted = true;
    delegate.crashed = true;
    plauder->askUserForRatingIfNeeded();
    delegate.crashed = false;
    fake->storeReview = false;
    plauder->showRatingsPrompt();
    fake->storeReview = true;
    EXPECT_EQ(requestsAfterEvents(), 0);
    plauder->increaseScore(1);
    plauder->waitForScoreQueue();
    EXPECT_EQ(requestsAfterEvents(), 1);
    advance(432000 - 1);
    plauder->appDidBeacomeActive();
    EXPECT_EQ(requestsAfterEvents(), 1);
}

// The store's identifier: looked up once, then the key to the review page.
TEST_F(PlauderTest, StoreLookupTakesTheTrackIdThatTheReviewPageNeeds)
{
    auto plauder = make();
    plauder->fetchAppIdIfNeeded();
    EXPECT_EQ(fake->requested.value(0).toString(),
              "https://lookup.example/lookup?bundleId=com.example.app");
    for (const std::optional<QByteArray> &ignored :
         {std::optional<QByteArray>(), std::optional<QByteArray>("not json"),
          std::optional<QByteArray>("{\"results\":[{\"trackId\":true}]}")})
        fake->pending(ignored);
    EXPECT_FALSE(plauder->appStoreID());
    fake->pending(QByteArray("{\"resultCount\":1,\"results\":[{\"trackId\":123}]}"));

    // A known identifier is never looked up again, also in a later process.
    plauder.reset();
    auto again = make();
    again->fetchAppIdIfNeeded();
    EXPECT_TRUE(fake->requested.isEmpty());
    again->openRatingsPageInAppStore();
    EXPECT_EQ(fake->opened.value(0).toString(),
              "itms-apps://store.example/app/apple-store/id123?mt=8&action=write-review");
}

// The one instance lives on the main thread; on Linux, with no store-review
// facility, it only counts.
TEST(PlauderShared, OneInstanceThatOnlyCountsOnLinux)
{
    Plauder &plauder = Plauder::sharedInstance();
    EXPECT_EQ(plauder.thread(), QCoreApplication::instance()->thread());

    Settings settings;
    settings.setValue(Settings::PlauderScore, 1000);
    settings.setValue(Settings::PlauderLaunches, 100);
    settings.remove(Settings::PlauderDate);
    settings.remove(Settings::PlauderAppStore);
    plauder.configureForShell(nullptr);
    plauder.appDidBeacomeActive();
    QCoreApplication::processEvents();
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 101);
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));
}

} // namespace
