// The verbalo-cli commands. Each takes its arguments (without the program and
// command names), prints its results on standard output, and returns the exit
// status; bad use or input is thrown as CliError (see cliargs.h).
#pragma once

#include <QStringList>

int commandEntries(const QStringList &arguments);
int commandDiscover(const QStringList &arguments);
int commandRows(const QStringList &arguments);
int commandRewrite(const QStringList &arguments);
int commandExport(const QStringList &arguments);
int commandFill(const QStringList &arguments);
int commandTranslate(const QStringList &arguments);
int commandScan(const QStringList &arguments);
int commandLookup(const QStringList &arguments);
int commandImport(const QStringList &arguments);
// Exit status 0 when no problem is found, 1 when some are.
int commandCheck(const QStringList &arguments);
int commandSet(const QStringList &arguments);
