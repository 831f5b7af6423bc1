#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/, writes the seed
# corpora and runs each target for SECONDS (default 60). Corpora grow in
# build-fuzz/corpus/<target>, crash inputs land in build-fuzz/artifacts/.
# Exits non-zero when any target finds something.
#
#   scripts/fuzz.sh [SECONDS]
#   FUZZ_JOBS=2 scripts/fuzz.sh 300      # two jobs per target, side by side
#   FUZZ_TARGETS="fuzz_edge" scripts/fuzz.sh
#
# Reproduce a finding: build-fuzz/fuzz_play build-fuzz/artifacts/fuzz_play-crash-...
# fuzz_receive says what each message did with VALKORAN_FUZZ_TRACE=1 set.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi
jobs="${FUZZ_JOBS:-1}"
targets=(${FUZZ_TARGETS:-fuzz_load fuzz_play fuzz_edge fuzz_receive})

"$root/scripts/deps.sh" clang libclang-rt-14-dev cmake ninja-build

out="$root/build-fuzz"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVALKORAN_FUZZ=ON -DVALKORAN_TESTS=OFF -DVALKORAN_BENCH=OFF
fi
cmake --build "$out" --target fuzz_seeds "${targets[@]}"
"$out/fuzz_seeds" "$out/corpus"
mkdir -p "$out/artifacts" "$out/logs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:quarantine_size_mb=64}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

found=()
for t in "${targets[@]}"; do
  echo "== $t for ${seconds}s"
  args=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$out/artifacts/$t-" "$out/corpus/$t")
  log="$out/logs/$t.log"
  rc=0
  if ((jobs > 1)); then
    # Each job writes fuzz-N.log in the working folder; the parent repeats
    # them in its own output as they end.
    rm -rf "$out/logs/$t" && mkdir -p "$out/logs/$t"
    (cd "$out/logs/$t" && "$out/$t" -jobs="$jobs" -workers="$jobs" "${args[@]}") >"$log" 2>&1 || rc=$?
    job_logs=("$out/logs/$t"/fuzz-*.log)
  else
    "$out/$t" "${args[@]}" >"$log" 2>&1 || rc=$?
    job_logs=("$log")
  fi
  # Each run's last coverage line and its final counts.
  for l in "${job_logs[@]}"; do
    [ -f "$l" ] || continue
    ((jobs > 1)) && echo "-- $(basename "$l" .log)"
    grep -E '^#[0-9]+' "$l" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$l" || true
  done
  if ((rc != 0)) || grep -qE '^\*\*\* Finding|ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error:' "$log"; then
    echo "!! $t found something (exit $rc); see $log"
    grep -E '^\*\*\* Finding|SUMMARY:|runtime error:|^artifact_prefix|Test unit written' "$log" | head -n 20 || true
    found+=("$t")
  fi
done

if ((${#found[@]})); then
  echo "Findings in: ${found[*]} (inputs in $out/artifacts/)"
  exit 1
fi
echo "No findings."
