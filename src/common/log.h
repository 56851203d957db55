// Diagnostic log lines. The desktop app prints them to standard output; the
// command-line tool moves them to standard error so they never mix with results.
#pragma once

#include <QString>

class Log
{
public:
    enum class Sink { StandardOutput, StandardError, Discard };

    // Writes one line. Safe to call from any thread.
    static void line(const QString &text);
    // The debugging form: the value is shown quoted, after the label.
    static void debug(const QString &label, const QString &value);

    static void setSink(Sink sink);
};
