// The "contact support" command: runs the support script shipped inside the
// program with /bin/sh and waits for it.
#pragma once

#include <QString>

class SupportScript
{
public:
    // Where the shipped script lives among the program's resources.
    static inline const QString ResourcePath = QStringLiteral(":/verbalo/support_email.txt");
    // A script still running after this long is stopped, so a stuck script
    // cannot freeze the window for good.
    static constexpr int TimeoutMs = 30000;

    enum class Outcome { NoScript, ReadFailed, Failed, Ran };

    // Runs the shipped script. Failures are reported as one log line only.
    static Outcome contactSupport();
    // Runs the script at `path` (a file or a resource): nothing when it does
    // not exist or holds only white space; a read error, a start failure, a
    // time-out or an unsuccessful exit each give one log line.
    static Outcome run(const QString &path, int timeoutMs = TimeoutMs);
};
