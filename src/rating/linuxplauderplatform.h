// Plauder's platform on a Linux desktop: there is no application store and
// no store-review facility, so Plauder only keeps its counters.
#pragma once

#include "plauderplatform.h"

class LinuxPlauderPlatform : public PlauderPlatform
{
public:
    bool hasStoreReview() const override;
    void requestReview() override;
    // Hands the location to xdg-open, without waiting for it.
    void openUrl(const QUrl &url) override;
    QDateTime now() const override;
    QString shortVersion() const override;      // the build's version
    QString bundleIdentifier() const override;  // "com.brenquil.verbalo"
};
