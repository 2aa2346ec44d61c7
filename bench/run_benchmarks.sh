#!/usr/bin/env bash
# Whole-process figures for strimlo-cli, and the same work done by zint (Debian package
# zint, installed here only, as a yardstick). Prints figures; never passes or fails on time.
#   bench/run_benchmarks.sh            all of it
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if ! command -v zint >/dev/null 2>&1; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq zint >/dev/null
fi
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cli=$PWD/build/release/cli/strimlo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# seconds and peak resident MiB of one command
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1 || true
  read -r secs kib <"$work/time"
  printf '%8.2f s %8.1f MiB' "$secs" "$(echo "$kib / 1024" | bc -l)"
}

echo "== in-process (Google Benchmark) =="
build/release/bench/bench_render --benchmark_min_time=0.2 2>/dev/null | grep -E '^BM_'

echo
echo "== largest file: ISBN-13 with add-on, size 9, 3200 dpi (14012 x 7920 px), whole process =="
for ext in tiff jpg png; do
  printf '%-5s' "$ext"
  measure "$cli" --type isbn13 --addon 51299 --price 12.99 --size 9 --res 7 -o "$work/big.$ext" 978-3-16-148410-0
  echo
done

echo
echo "== typical file: EAN-13, 100%, 300 dpi, PNG, one process each (mean of 100) =="
t0=$(date +%s.%N)
for i in $(seq 100); do "$cli" -o "$work/t.png" 401234567890; done
t1=$(date +%s.%N)
for i in $(seq 100); do zint -b EANX --scale 2 -o "$work/z.png" -d 401234567890; done
t2=$(date +%s.%N)
printf 'strimlo-cli %6.2f ms   zint %6.2f ms\n' "$(echo "($t1 - $t0) * 10" | bc -l)" "$(echo "($t2 - $t1) * 10" | bc -l)"

echo
echo "== 1000 distinct EAN-13 symbols, one batch process =="
for i in $(seq 0 999); do printf '400638%06d\n' "$i"; done >"$work/data.txt"
mkdir -p "$work/s" "$work/z" "$work/st" "$work/zt"
batch() {  # label, command...
  local label=$1; shift
  local t0 t1
  t0=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s.%N)
  printf '%-32s %6.2f s  %6.0f files/s\n' "$label" "$(echo "$t1 - $t0" | bc -l)" "$(echo "1000 / ($t1 - $t0)" | bc -l)"
}
batch "strimlo-cli PNG 300 dpi" "$cli" --batch "$work/data.txt" --outdir "$work/s" --format png
batch "zint PNG --scale 2" bash -c "cd '$work/z' && exec zint -b EANX --batch --scale 2 --filetype=png --mirror -i '$work/data.txt'"
batch "strimlo-cli CMYK TIFF 300 dpi" "$cli" --batch "$work/data.txt" --outdir "$work/st" --format tiff
batch "zint CMYK TIFF --scale 2" bash -c "cd '$work/zt' && exec zint -b EANX --batch --scale 2 --cmyk --filetype=tif --mirror -i '$work/data.txt'"
echo "files: strimlo $(ls "$work/s" | wc -l) png, $(ls "$work/st" | wc -l) tiff; zint $(ls "$work/z" | wc -l) png, $(ls "$work/zt" | wc -l) tif"
