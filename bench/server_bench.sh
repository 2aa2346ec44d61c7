#!/usr/bin/env bash
# strimlo-server under load beside bwip-js served by Node's http module, in the same run
# on the same machine: requests per second and p99 latency at 50 connections (wrk) for
# EAN-13 as SVG, PNG at 300 dpi and PDF, and the server's memory across 100,000 requests
# (ab), each with the load average at its end: the cores are shared with whatever else
# runs, and the figures measure it too. bwip-js is installed from npm under
# build/bench-node, never into the tree. It prints figures and never passes or fails on time.
#   bench/server_bench.sh [BUILD_DIR]      (default build/release)
#   SECONDS_EACH=N   the length of each wrk run (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
seconds=${SECONDS_EACH:-10}
requests=${REQUESTS:-100000}
for tool in wrk ab node npm curl; do command -v "$tool" >/dev/null || { scripts/setup.sh --bench; break; }; done
[ -x "$build/server/strimlo-server" ] || cmake --build "$build" --target strimlo-server
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The address a server printed on its first line.
address_of() {
  for _ in $(seq 100); do
    if [ -s "$1" ]; then sed -n 's|.*\(http://[^/]*\)/.*|\1|p' "$1" | head -n 1; return; fi
    sleep 0.1
  done
  echo "bench: a server did not start ($1)" >&2
  exit 1
}

"$build/server/strimlo-server" --listen 127.0.0.1:0 --quiet >"$work/strimlo.out" &
strimlo_pid=$!
pids+=("$strimlo_pid")
strimlo=$(address_of "$work/strimlo.out")

node_dir=$PWD/build/bench-node
if [ ! -d "$node_dir/node_modules/bwip-js" ]; then
  mkdir -p "$node_dir"
  npm install --prefix "$node_dir" --no-audit --no-fund --silent bwip-js >/dev/null
fi
# bwip-js's documented request handler: the options come from the query string.
cat >"$work/bwip-server.js" <<'JS'
const http = require("http");
const bwipjs = require(process.argv[2]);
const server = http.createServer((req, res) => bwipjs.request(req, res));
server.listen(0, "127.0.0.1", () => console.log("listening on http://127.0.0.1:" + server.address().port + "/"));
JS
node "$work/bwip-server.js" "$node_dir/node_modules/bwip-js" >"$work/bwip.out" &
pids+=($!)
bwip=$(address_of "$work/bwip.out")

# wrk's requests per second and 99th percentile, on one line.
load() {
  curl -sf -o /dev/null "$1" || { echo "bench: $1 fails" >&2; exit 1; }
  wrk -t2 -c50 -d"${seconds}s" --latency "$1" >"$work/wrk.out"
  local rps p99 errors
  rps=$(awk '/^Requests\/sec/ {print $2}' "$work/wrk.out")
  p99=$(awk '$1 == "99%" {print $2}' "$work/wrk.out")
  errors=$(awk '/Non-2xx|Socket errors/ {print}' "$work/wrk.out" | tr '\n' ' ')
  printf '%-34s %10s req/s   p99 %8s   load %s   %s\n' "$2" "$rps" "$p99" "$(cut -d' ' -f1 /proc/loadavg)" "$errors"
}

ean="data=400638133393"
echo "== 50 connections, ${seconds} s each, $(nproc) cores shared by server and wrk =="
load "$strimlo/api/v1/symbol?$ean&format=svg" "strimlo-server EAN-13 SVG"
load "$strimlo/api/v1/symbol?$ean&format=png&res=2" "strimlo-server EAN-13 PNG 300 dpi"
load "$strimlo/api/v1/symbol?$ean&format=pdf" "strimlo-server EAN-13 PDF"
# A 0.33 mm module at 300 dpi is 3.9 pixels: bwip-js's scale 4 is the nearest.
load "$bwip/?bcid=ean13&text=4006381333931&scale=4&includetext" "bwip-js (Node http) EAN-13 PNG"
echo

rss() { awk '/^VmRSS/ {print $2 / 1024 " MiB"}' "/proc/$strimlo_pid/status"; }
echo "== strimlo-server's memory across $requests PNG requests (ab, 50 connections, keep-alive) =="
echo "before:  $(rss)"
ab -q -k -n "$requests" -c 50 "$strimlo/api/v1/symbol?$ean&format=png&res=2" >"$work/ab.out" 2>&1
echo "after:   $(rss)   peak: $(awk '/^VmHWM/ {print $2 / 1024 " MiB"}' "/proc/$strimlo_pid/status")"
grep -E '^(Complete requests|Failed requests|Non-2xx responses|Requests per second)' "$work/ab.out"
