#!/usr/bin/env bash
# Runs each fuzz target for a while: tests/fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# The committed seeds and regression inputs are read from the source tree; what
# the fuzzer finds new goes to a scratch corpus under BUILD_DIR, and any input that
# breaks a rule to BUILD_DIR/artifacts/. Fails when a target finds something.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?build directory}"
seconds="${2:-60}"
shift 2 || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(baseaddress rtfreader jpeg)

# Inputs longer than these reach no new code: an address is a few characters,
# the help text a few kilobytes, the pictures the program shows are small.
declare -A max_len=([baseaddress]=256 [rtfreader]=65536 [jpeg]=65536)

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-print_suppressions=0}"

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts" "$build/logs"
  echo "== fuzz_$t for ${seconds}s (log: $build/logs/$t.log)" >&2
  # Only the first corpus directory is written to; the source tree stays as it is.
  inputs=("$here/$t")
  [ -d "$here/regressions/$t" ] && inputs+=("$here/regressions/$t")
  options=()
  [ -f "$here/$t.dict" ] && options+=(-dict="$here/$t.dict")
  if "$build/tests/fuzz/fuzz_$t" "$corpus" "${inputs[@]}" "${options[@]}" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 \
      -max_len="${max_len[$t]}" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" >"$build/logs/$t.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/logs/$t.log" || true
  else
    echo "fuzz_$t found a problem:" >&2
    tail -n 60 "$build/logs/$t.log" >&2
    status=1
  fi
done
exit $status
