// verbalo-cli: the batch jobs of the editor, headless, for scripts and CI.
#pragma once

#include <QStringList>

// Runs one command line (arguments without the program name). Results go to
// standard output, diagnostics to standard error. Returns the exit status:
// 0 on success, 2 for bad use or input.
int runCli(const QStringList &arguments);

// Whether the named command holds a whole project in memory, where huge
// pages repay the restart they take (common/hugepages.h). The others read
// files one at a time or ask the memory database, and would only wait for it.
bool cliCommandHoldsProject(const char *name);
