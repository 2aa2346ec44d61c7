#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) in build/fuzz and runs each for a short bounded
# time on a scratch copy of its seed corpus. Exits non-zero when a target finds a crash,
# leaving the reproducer under build/fuzz/crashes/.
#   FUZZ_SECONDS=N  time per target (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, fuzz targets skipped"
  exit 0
fi

targets=(fuzz_encoding fuzz_gs1 fuzz_eps fuzz_final fuzz_csv fuzz_c_api fuzz_server fuzz_image fuzz_ranges)
seconds=${FUZZ_SECONDS:-20}
build=build/fuzz

echo "== fuzz targets (libFuzzer, address, undefined; ${seconds} s each) =="
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=()
  if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
  CC=clang CXX=clang++ cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTRIMLO_FUZZ=ON -DSTRIMLO_SANITIZE=ON -DSTRIMLO_BUILD_APP=OFF -DSTRIMLO_BUILD_BENCH=OFF >/dev/null
fi
if ! cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}" >"$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log"
  echo "fuzz: the fuzz targets did not build (log: $build/fuzz-build.log)"
  exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export UBSAN_OPTIONS=print_stacktrace=1
# fontconfig's own one-time allocations, as in the sanitizer test run.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

failed=0
for t in "${targets[@]}"; do
  work="$scratch/$t"
  mkdir -p "$work/artifacts"
  cp -r "tests/fuzz/corpus/$t" "$work/corpus"
  status=0
  "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    echo "$t: ${runs:-0} runs, clean"
    continue
  fi
  failed=1
  mkdir -p "$build/crashes"
  kept=()
  for f in "$work"/artifacts/*; do
    [ -e "$f" ] || continue
    cp "$f" "$build/crashes/$t-$(basename "$f")"
    kept+=("$build/crashes/$t-$(basename "$f")")
  done
  cp "$work/log" "$build/crashes/$t.log"
  echo "$t: FAILED after ${runs:-?} runs (exit $status)"
  grep -E 'ERROR|invariant broken|runtime error|SUMMARY' "$work/log" | head -n 5 | sed 's/^/  /'
  for k in "${kept[@]}"; do
    echo "  reproducer: $k"
    echo "    run: LSAN_OPTIONS=suppressions=tests/lsan.supp $build/tests/fuzz/$t $k"
  done
  echo "  log: $build/crashes/$t.log"
done
exit "$failed"
