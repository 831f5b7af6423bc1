#!/usr/bin/env bash
# The desktop program stopped from outside (SIGTERM, SIGINT, SIGHUP) leaves as
# its Exit does: the running game is kept for Continue, whole and loadable.
set -euo pipefail
game="$1" cli="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
printf '{"screens":[{"name":"t","x":0,"y":0,"width":1024,"height":768,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' \
  >"$dir/screen.json"
"$cli" new --worlds 12 --player Ann --player Bob --seed 5 --out "$dir/start.gam"
"$cli" resave "$dir/start.gam" --out "$dir/expected.gam"
kept="$dir/data/Valkoran/running.gam"

# Whether process $1 has a handler for signal number $2 (its SigCgt mask).
catches() {
  local mask
  mask="$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null)" || return 1
  [[ -n "$mask" ]] && (( (16#$mask >> ($2 - 1)) & 1 ))
}

for sig in TERM INT HUP; do
  rm -f "$kept"
  XDG_DATA_HOME="$dir/data" QT_QPA_PLATFORM="offscreen:configfile=$dir/screen.json" \
    "$game" "$dir/start.gam" >"$dir/out.txt" 2>&1 &
  pid=$!
  number="$(kill -l "$sig")"
  for _ in $(seq 1 600); do
    catches "$pid" "$number" && break
    kill -0 "$pid" 2>/dev/null || { echo "the game ended by itself"; cat "$dir/out.txt"; exit 1; }
    sleep 0.05
  done
  kill -s "$sig" "$pid"
  status=0
  wait "$pid" || status=$?
  if (( status != 0 )); then echo "SIG$sig: exit $status"; cat "$dir/out.txt"; exit 1; fi
  [[ -f "$kept" ]] || { echo "SIG$sig: no game kept"; exit 1; }
  cmp "$kept" "$dir/expected.gam" || { echo "SIG$sig: the kept game differs from the one opened"; exit 1; }
  echo "SIG$sig: kept"
done
