// The rating prompt's decision, driven by a fake store-review facility and a
// fake clock.
#include "common/settings.h"
#include "rating/plauder.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

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
    QString storeLookupHost() const override { return lookupHost; }
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
    QString lookupHost;
    QList<QUrl> requested;
    Reply pending;
};

class CountingDelegate : public ReviewDelegate
{
public:
    std::optional<bool> didCrashInLastSession() override { return crashed; }
    std::optional<bool> shouldRequestFeedback() override { return wanted; }
    void didShowAppleRatingsPrompt() override { ++told; }

    std::optional<bool> crashed;
    std::optional<bool> wanted;
    int told = 0;
};

class PlauderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Settings settings;
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

// Counters start on the first run, survive a later process of the same
// version and restart (all but the score) when an update is asked to reset them.
TEST_F(PlauderTest, CountersStartOnFirstRunAndRestartAfterAnUpdate)
{
    auto plauder = make();
    EXPECT_EQ(settings.text(Settings::PlauderVersion), "2.0");
    EXPECT_EQ(settings.date(Settings::PlauderDate), kStart);
    EXPECT_FALSE(settings.contains(Settings::PlauderLaunches));
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));

    plauder->appDidBeacomeActive();
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 1);
    plauder->appDidBeacomeActive(false);
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 1);

    plauder.reset();
    plauder = make();
    advance(3600);
    plauder->appDidBeacomeActive();
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 2);
    EXPECT_EQ(settings.date(Settings::PlauderDate), kStart);

    settings.setValue(Settings::PlauderAppStore, kStart);
    settings.setValue(Settings::PlauderScore, 42);
    plauder->setResetSettingsAfterUpdate(true);
    EXPECT_TRUE(plauder->resetSettingsAfterUpdate());
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 2);
    EXPECT_EQ(settings.date(Settings::PlauderDate), kStart);
    fake->version = "2.1";
    plauder->setResetSettingsAfterUpdate(false);
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 2);
    plauder->setResetSettingsAfterUpdate(true);
    EXPECT_EQ(settings.text(Settings::PlauderVersion), "2.1");
    EXPECT_EQ(settings.date(Settings::PlauderDate), fake->clock);
    EXPECT_FALSE(settings.contains(Settings::PlauderLaunches));
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));
    EXPECT_EQ(settings.integerValue(Settings::PlauderScore), 42);
}

TEST_F(PlauderTest, ShellThresholdsGateThePromptAndTheRepeatInterval)
{
    auto plauder = make();
    CountingDelegate delegate;
    plauder->configureForShell(&delegate);
    EXPECT_EQ(plauder->delegate(), &delegate);

    // A score below 50 never prompts, however many sessions pass.
    settings.setValue(Settings::PlauderScore, 49);
    advance(86400);
    for (int i = 0; i < 10; ++i)
        plauder->appDidBeacomeActive();
    EXPECT_EQ(requestsAfterEvents(), 0);
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));

    // Score 50, two sessions, use time just short: still nothing.
    plauder->resetDefaultSettings(true);
    settings.setValue(Settings::PlauderScore, 50);
    plauder->appDidBeacomeActive();
    plauder->appDidBeacomeActive();
    advance(899);
    plauder->appDidBeacomeActive();
    EXPECT_EQ(requestsAfterEvents(), 0);
    advance(1);
    plauder->appDidBeacomeActive(false); // exactly 900 s of use and 3 sessions
    EXPECT_EQ(settings.date(Settings::PlauderAppStore), fake->clock);
    EXPECT_EQ(requestsAfterEvents(), 1);
    EXPECT_EQ(delegate.told, 1);

    advance(432000 - 1);
    plauder->appDidBeacomeActive();
    EXPECT_EQ(requestsAfterEvents(), 1);
    advance(1);
    plauder->appDidBeacomeActive();
    EXPECT_EQ(requestsAfterEvents(), 2);
    EXPECT_EQ(delegate.told, 2);
}

TEST_F(PlauderTest, DelegateAndMissingFacilitySuppressThePrompt)
{
    auto plauder = make();
    CountingDelegate delegate;
    plauder->configureForShell(&delegate);
    settings.setValue(Settings::PlauderScore, 100);
    settings.setValue(Settings::PlauderLaunches, 10);
    advance(1000);

    delegate.wanted = false;
    plauder->askUserForRatingIfNeeded();
    delegate.wanted = true;
    delegate.crashed = true;
    plauder->askUserForRatingIfNeeded();
    EXPECT_EQ(requestsAfterEvents(), 0);

    // Without a store-review facility activations are only counted.
    delegate.crashed = false;
    fake->storeReview = false;
    plauder->appDidBeacomeActive();
    plauder->showRatingsPrompt();
    EXPECT_EQ(settings.integerValue(Settings::PlauderLaunches), 11);
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));
    EXPECT_EQ(requestsAfterEvents(), 0);

    fake->storeReview = true;
    plauder->askUserForRatingIfNeeded();
    EXPECT_EQ(requestsAfterEvents(), 1);
}

TEST_F(PlauderTest, ScoreChanges)
{
    auto plauder = make();
    plauder->configureForShell(nullptr);

    plauder->increaseScore(0);
    plauder->waitForScoreQueue();
    EXPECT_FALSE(settings.contains(Settings::PlauderScore));

    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back(QThread::create([&plauder] {
            for (int i = 0; i < 25; ++i)
                plauder->increaseScore(1);
        }));
        threads.back()->start();
    }
    for (auto &thread : threads)
        thread->wait();
    plauder->waitForScoreQueue();
    EXPECT_EQ(plauder->score(), 100);

    plauder->increaseScore(-60);
    plauder->waitForScoreQueue();
    EXPECT_EQ(plauder->score(), 40);

    // Reaching the minimum score takes the decision on the score queue.
    settings.setValue(Settings::PlauderLaunches, 3);
    advance(900);
    plauder->increaseScore(10);
    plauder->waitForScoreQueue();
    EXPECT_TRUE(settings.contains(Settings::PlauderAppStore));
    EXPECT_EQ(requestsAfterEvents(), 1);
}

// The store's identifier: looked up once, then the key to the review page.
TEST_F(PlauderTest, StoreLookupTakesTheTrackIdThatTheReviewPageNeeds)
{
    auto plauder = make();
    plauder->fetchAppIdIfNeeded(); // no store host: nothing is asked
    plauder->openRatingsPageInAppStore();
    EXPECT_TRUE(fake->requested.isEmpty());
    EXPECT_TRUE(fake->opened.isEmpty());
    EXPECT_FALSE(settings.contains(Settings::PlauderAppStore));
    EXPECT_FALSE(plauder->appStoreID());

    fake->lookupHost = "lookup.example";
    plauder->fetchAppIdIfNeeded();
    ASSERT_EQ(fake->requested.size(), 1);
    EXPECT_EQ(fake->requested[0].toString(),
              "https://lookup.example/lookup?bundleId=com.example.app");

    for (const QByteArray &ignored :
         {QByteArray(), QByteArray("not json"), QByteArray("{\"results\":[]}"), QByteArray("[1]"),
          QByteArray("{\"results\":[{\"trackId\":true}]}"),
          QByteArray("{\"results\":[{\"other\":1}]}")})
        fake->pending(ignored);
    fake->pending(std::nullopt);
    EXPECT_FALSE(plauder->appStoreID());
    EXPECT_FALSE(settings.contains(Settings::PlauderAppId));

    // The reply also takes the decision, which passes here.
    settings.setValue(Settings::PlauderLaunches, 1);
    settings.setValue(Settings::PlauderScore, 5);
    advance(43200);
    fake->pending(QByteArray("{\"resultCount\":1,\"results\":[{\"trackId\":123}]}"));
    EXPECT_EQ(plauder->appStoreID(), "123");
    EXPECT_EQ(settings.text(Settings::PlauderAppId), "123");
    EXPECT_EQ(requestsAfterEvents(), 1);

    fake->pending(QByteArray("{\"results\":[{\"trackId\":\"id-9\"}]}"));
    EXPECT_EQ(settings.text(Settings::PlauderAppId), "id-9");

    // A known identifier is never looked up again, also in a later process.
    plauder.reset();
    auto again = make();
    fake->lookupHost = "lookup.example";
    again->fetchAppIdIfNeeded();
    EXPECT_TRUE(fake->requested.isEmpty());
    EXPECT_EQ(again->appStoreID(), "id-9");

    advance(5);
    again->openRatingsPageInAppStore();
    ASSERT_EQ(fake->opened.size(), 1);
    EXPECT_EQ(fake->opened[0].toString(),
              "itms-apps://store.example/app/apple-store/idid-9?mt=8&action=write-review");
    EXPECT_EQ(settings.date(Settings::PlauderAppStore), fake->clock);
    again->setAppStoreID(std::nullopt);
    EXPECT_FALSE(settings.contains(Settings::PlauderAppId));
}

TEST(PlauderShared, OneInstanceThatOnlyCountsOnLinux)
{
    Settings().remove(Settings::PlauderAppId);
    Plauder *seen[4] = {};
    std::vector<std::unique_ptr<QThread>> threads;
    for (Plauder *&slot : seen) {
        threads.emplace_back(QThread::create([&slot] { slot = &Plauder::sharedInstance(); }));
        threads.back()->start();
    }
    for (auto &thread : threads)
        thread->wait();
    Plauder &plauder = Plauder::sharedInstance();
    for (Plauder *p : seen)
        EXPECT_EQ(p, &plauder);
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
    EXPECT_FALSE(plauder.appStoreID());
}

} // namespace
