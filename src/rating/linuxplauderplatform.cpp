// Plauder's platform on a Linux desktop.
#include "linuxplauderplatform.h"

#include <QProcess>

bool LinuxPlauderPlatform::hasStoreReview() const { return false; }

void LinuxPlauderPlatform::requestReview() {}

void LinuxPlauderPlatform::openUrl(const QUrl &url)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

QDateTime LinuxPlauderPlatform::now() const { return QDateTime::currentDateTimeUtc(); }

QString LinuxPlauderPlatform::shortVersion() const { return QStringLiteral(VERBALO_VERSION); }

QString LinuxPlauderPlatform::bundleIdentifier() const
{
    return QStringLiteral("com.brenquil.verbalo");
}
