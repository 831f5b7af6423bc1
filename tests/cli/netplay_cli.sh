#!/usr/bin/env bash
# The runner's headless server and clients as separate programs on the
# loopback interface: three clients to a conquest, every saved board
# loading again; and a server stopped by SIGTERM in the middle of a game
# saving it, its client ending with "server lost" (3).
set -uo pipefail
cli="$1"
dir="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$dir"' EXIT
cd "$dir"
fail() { echo "FAIL: $*"; for f in *.log *.err; do echo "== $f"; tail -5 "$f"; done; exit 1; }

# The port the server found, from its first line.
port_of() {
  for _ in $(seq 400); do
    p=$(sed -n 's/^net\tRunning Server... listening on port \([0-9]*\)$/\1/p' "$1")
    [ -n "$p" ] && { echo "$p"; return; }
    sleep 0.05
  done
}

"$cli" serve --port 0 --name Ann --clients 3 --worlds 12 --seed 5 --out ann.gam > ann.log 2> ann.err &
server=$!
port=$(port_of ann.log)
[ -n "$port" ] || fail "the server did not listen"
pids=()
for name in Bob Cid Dee; do
  "$cli" join --host LocalHost --port "$port" --name "$name" --out "$name.gam" > "$name.log" 2> "$name.err" &
  pids+=($!)
done
wait "$server" || fail "server exit $?"
for pid in "${pids[@]}"; do wait "$pid" || fail "client exit $?"; done
grep -q "Has Taken Over The Entire Solar System" ann.log || fail "no conquest on the server"
for name in Bob Cid Dee; do
  grep -q "Has Taken Over The Entire Solar System" "$name.log" || fail "$name did not see the conquest"
done
for f in ann Bob Cid Dee; do "$cli" report "$f.gam" > /dev/null || fail "$f.gam does not load"; done

# Stopped mid-game: Bob's machine hangs as the game starts, so the game
# waits on him.
"$cli" serve --port 0 --name Ann --clients 1 --worlds 30 --seed 7 --out stop.gam > stop.log 2> stop.err &
server=$!
port=$(port_of stop.log)
"$cli" join --host 127.0.0.1 --port "$port" --name Bob --out bob.gam > bob.log 2> bob.err &
client=$!
for _ in $(seq 400); do grep -q "Seat 1: Bob" stop.log && break; sleep 0.05; done
kill -STOP "$client"
for _ in $(seq 400); do grep -q "Game started" stop.log && break; sleep 0.05; done
grep -q "Game started" stop.log || fail "the game did not start"
sleep 0.2
kill -TERM "$server"
wait "$server" || fail "stopped server exit $?"
grep -q "^net	Stopped" stop.log || fail "the server did not say it stopped"
"$cli" report stop.gam > /dev/null || fail "the stopped game does not load"
kill -CONT "$client"
wait "$client"
code=$?
[ "$code" -eq 3 ] || fail "a client whose server went should exit 3, not $code"
[ ! -e bob.gam ] || "$cli" report bob.gam > /dev/null || fail "Bob's game does not load"
echo "ok"
