#!/usr/bin/env bash
# Runs the benchmarks of a release build and prints medians beside their floors.
#   bench/run.sh [build-dir]      (make bench builds build-release and runs this)
# Start-up needs an X server: without DISPLAY the script runs itself under Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build-release}" && pwd)
runs=${RUNS:-21}

if [ -z "${DISPLAY:-}" ]; then
  exec "$here/../tests/e2e/with-x11.sh" "$0" "$build"
fi

# Median wall time in milliseconds of a whole process, from start to exit.
median_ms() {
  local times=() start end
  for _ in $(seq 1 "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] / 1000 }'
}

# Largest resident set in kilobytes over the runs' median.
median_rss_kb() {
  local sizes=() out
  out=$(mktemp)
  for _ in $(seq 1 5); do
    /usr/bin/time -f '%M' -o "$out" "$@" >/dev/null 2>&1
    sizes+=($(tail -n 1 "$out"))
  done
  rm -f "$out"
  printf '%s\n' "${sizes[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

app=$(median_ms "$build/bench/bench_startup_app")
floor=$(median_ms "$build/bench/bench_startup_floor")
printf 'start-up to first paint %7s ms   floor (empty Qt main window) %7s ms   ratio %s\n' \
  "$app" "$floor" "$(awk -v a="$app" -v f="$floor" 'BEGIN { printf "%.3f", a / f }')"
if [ -x /usr/bin/time ]; then
  rss=$(median_rss_kb "$build/bench/bench_startup_app")
  rss_floor=$(median_rss_kb "$build/bench/bench_startup_floor")
  printf 'peak resident memory  %9s kB   floor %9s kB   ratio %s\n' "$rss" "$rss_floor" \
    "$(awk -v a="$rss" -v f="$rss_floor" 'BEGIN { printf "%.3f", a / f }')"
fi
"$build/bench/bench_decode"
