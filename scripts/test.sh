#!/usr/bin/env bash
# Builds everything and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$root/build"
ctest --output-on-failure -j2 -LE long "$@"
