#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh"
if [ -x "$root/build/valkoran" ]; then
  exec "$root/build/valkoran" "$@"
fi
echo "The desktop front end is not built yet; the game runs headless through valkoran-cli:"
echo
exec "$root/build/valkoran-cli" --help
