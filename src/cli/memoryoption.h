// The --db option shared by the translation-memory commands of verbalo-cli.
#pragma once

#include "cli/cliargs.h"

class DatabaseManagerV2;

namespace CliOptions {
inline const CliOption Db{QStringLiteral("--db"), true};
} // namespace CliOptions

// The process's translation memory, at --db PATH when given. Throws CliError
// when the database cannot be used (the log has already said why).
DatabaseManagerV2 &openMemory(const CliArgs &args);
