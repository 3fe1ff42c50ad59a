#!/usr/bin/env bash
# Runs the benchmarks of a release build and prints medians beside their floors (or,
# where nothing can serve as a floor, beside the goal), with the ratio of the two.
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
"$build/bench/bench_highlights"

# Hover latency: every process opens each popup for the first time in a fresh main
# window, then many times more; the medians are taken over the processes. Measured on
# the X server (with its window manager: what a user sees) and on the offscreen
# platform (the program's own share, without the window system's round trips).
median_of() {
  printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}
hover() {
  local label=$1 firsts=() laters=() first later
  shift
  for _ in $(seq 1 "$runs"); do
    read -r _ first later < <("$@" "$build/bench/bench_hover" 2>/dev/null | grep '^hover ')
    firsts+=("$first")
    laters+=("$later")
  done
  first=$(median_of "${firsts[@]}")
  later=$(median_of "${laters[@]}")
  printf 'popup, first opening  %9.3f ms   goal                  %9.3f ms   ratio %s   (%s)\n' \
    "$(awk -v u="$first" 'BEGIN { print u / 1000 }')" 8 \
    "$(awk -v u="$first" 'BEGIN { printf "%.3f", u / 8000 }')" "$label"
  printf 'popup, later openings %9.3f ms   goal                  %9.3f ms   ratio %s   (%s)\n' \
    "$(awk -v u="$later" 'BEGIN { print u / 1000 }')" 1 \
    "$(awk -v u="$later" 'BEGIN { printf "%.3f", u / 1000 }')" "$label"
}
hover "Xvfb + openbox" env
hover "offscreen" env QT_QPA_PLATFORM=offscreen
