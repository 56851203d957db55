#!/usr/bin/env bash
# Configures and builds into build/ (binaries in build/bin/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build"
