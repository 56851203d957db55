// What Plauder needs from the platform: the store-review facility, the clock,
// the application's identity and the store itself. Tests supply a fake.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class PlauderPlatform
{
public:
    // The body of a store reply, or std::nullopt on a transport error.
    using Reply = std::function<void(const std::optional<QByteArray> &body)>;

    virtual ~PlauderPlatform() = default;

    // Whether the platform can show a store-review prompt at all.
    virtual bool hasStoreReview() const = 0;
    // Asks the platform to show its store-review prompt; always called on the
    // main thread. A platform too old for the request simply does nothing.
    virtual void requestReview() = 0;
    // Opens a location with its default handler.
    virtual void openUrl(const QUrl &url) = 0;

    virtual QDateTime now() const = 0;
    virtual QString shortVersion() const = 0;
    // Empty when the application has none.
    virtual QString bundleIdentifier() const = 0;

    // The store's lookup and review hosts; empty where the platform has no
    // store, and then neither the lookup nor the review page is used.
    virtual QString storeLookupHost() const { return {}; }
    virtual QString storeReviewHost() const { return {}; }

    // Sends an HTTPS GET with no headers or body of its own; `done` runs once,
    // on whatever thread the client answers on. Never called when
    // storeLookupHost() is empty. The platform must not call `done` after it
    // has been destroyed.
    virtual void get(const QUrl &, Reply) {}
};
