#!/usr/bin/env bash
# Builds the game and starts it; a saved game (FILE.gam) may be named. The
# program finds its pictures and sounds beside itself in build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"
exec "$root/build/valkoran" "$@"
