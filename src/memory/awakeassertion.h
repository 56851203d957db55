// Keeps the desktop from blanking the screen or going idle while long work
// runs, through the session's org.freedesktop.ScreenSaver inhibition.
#pragma once

#include <QString>
#include <optional>

// Taken on construction, released on destruction. Without a session bus, or
// when the desktop offers no such service, nothing is held and the work runs
// all the same; the attempt never blocks for more than a short timeout.
class AwakeAssertion
{
public:
    explicit AwakeAssertion(const QString &reason);
    ~AwakeAssertion();
    AwakeAssertion(const AwakeAssertion &) = delete;
    AwakeAssertion &operator=(const AwakeAssertion &) = delete;

    bool isHeld() const;

    static constexpr int TimeoutMilliseconds = 1000;

private:
    std::optional<uint> m_cookie;
};
