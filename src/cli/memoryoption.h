// The --db option shared by the translation-memory commands of verbalo-cli.
#pragma once

#include "cli/cliargs.h"

class DatabaseManagerV2;

namespace CliOptions {
inline const CliOption Db{QStringLiteral("--db"), true};
} // namespace CliOptions

// The process's translation memory, at --db PATH when given. Throws CliError
// when the database cannot be used.
DatabaseManagerV2 &openMemory(const CliArgs &args);
// Throws CliError ("the translation memory PATH is unusable: why") unless open.
void requireUsable(const DatabaseManagerV2 &memory);
