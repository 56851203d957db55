// The screensaver inhibition held while a scan runs.
#include "awakeassertion.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");

QDBusMessage screenSaverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(Service, Path, Service, method);
}

} // namespace

AwakeAssertion::AwakeAssertion(const QString &reason)
{
    // Without an address the bus library may try to start a bus of its own;
    // a session that offers one always sets it.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    const QString application = QCoreApplication::applicationName().isEmpty()
                                    ? QStringLiteral("Verbalo")
                                    : QCoreApplication::applicationName();
    call << application << reason;
    const QDBusMessage reply = bus.call(call, QDBus::Block, TimeoutMilliseconds);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1)
        m_cookie = reply.arguments().constFirst().toUInt();
}

AwakeAssertion::~AwakeAssertion()
{
    if (!m_cookie)
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << *m_cookie;
    // No need to wait: the inhibition also ends when our connection closes.
    QDBusConnection::sessionBus().send(call);
}

bool AwakeAssertion::isHeld() const { return m_cookie.has_value(); }
