// verbalo-cli: the batch jobs of the editor, headless, for scripts and CI.
#pragma once

#include <QStringList>

// Runs one command line (arguments without the program name). Results go to
// standard output, diagnostics to standard error. Returns the exit status:
// 0 on success, 2 for bad use or input.
int runCli(const QStringList &arguments);
