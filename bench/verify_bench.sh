#!/usr/bin/env bash
# What --verify costs: the same runs with and without it, alternating, in one run of this
# script, for one EAN-13 PNG at 300 dpi per process and for a 1000-line batch. Prints the
# median wall time and the mean CPU time (user + system) and user time, their ratios and the
# targets (one file at most 1.30, the batch at most 1.50), and the load average before and
# after: on a machine shared with builds, the wall times measure the neighbours too, and
# user time is the steadiest figure. It never passes or fails on time.
#   bench/verify_bench.sh [BUILD_DIR]      (default build/release)
#   RUNS=N  one-file runs of each kind (default 41); the batch runs a fifth as many
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
[ -x "$build/cli/strimlo-cli" ] || cmake --build "$build" --target strimlo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$build/cli/strimlo-cli" "$work" "${RUNS:-41}" <<'PY'
import os, statistics, subprocess, sys, time
cli, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])

def run(cmd):
    """Wall, CPU (user + system) and user seconds of one command."""
    start = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(p.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"bench: {' '.join(cmd)} failed")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_utime

def alternate(plain, verified, n, before=None):
    rp, rv = [], []
    for _ in range(n):
        for cmd, out in ((plain, rp), (verified, rv)):
            if before: before()
            os.sync()  # what the last run left unwritten is not paid by the next
            out.append(run(cmd))
    # Wall: the median. CPU: the mean, as the kernel counts it in ticks, which a median of
    # runs of a few milliseconds would round to 0 or a whole tick.
    med = lambda rs: [statistics.median(r[0] for r in rs)] + [statistics.mean(r[k] for r in rs) for k in (1, 2)]
    return med(rp), med(rv)

def report(what, plain, verified, unit, scale, target):
    print(what)
    for k, name in enumerate(("wall", "CPU (user + system)", "user")):
        p, v = plain[k] * scale, verified[k] * scale
        ratio = v / p if p > 0 else float("nan")
        mark = f"target <= {target:.2f} ({'within' if ratio <= target else 'MISSED'})" if k == 0 else ""
        print(f"  {name:<20} without {p:9.3f} {unit}   --verify {v:9.3f} {unit}   ratio {ratio:5.2f}  {mark}")

print(f"load average before: {' '.join(f'{x:.2f}' for x in os.getloadavg())} on {os.cpu_count()} cores")
png = os.path.join(work, "one.png")
plain, verified = alternate([cli, "--format", "png", "--res", "2", "-o", png, "401234567890"],
                            [cli, "--verify", "--format", "png", "--res", "2", "-o", png, "401234567890"], runs)
report(f"== one EAN-13 PNG at 300 dpi per process (wall: median of {runs}) ==", plain, verified, "ms", 1000, 1.30)

data = os.path.join(work, "data.txt")
with open(data, "w") as f:
    f.writelines(f"400638{i:06d}\n" for i in range(1000))
out = os.path.join(work, "out")
def fresh():
    subprocess.run(["rm", "-rf", out]); os.makedirs(out)
batch = [cli, "--batch", data, "--outdir", out, "--format", "png", "--res", "2"]
n = max(3, runs // 5)
plain, verified = alternate(batch, batch + ["--verify"], n, fresh)
report(f"== 1000 EAN-13 PNG at 300 dpi, one batch process (wall: median of {n}) ==", plain, verified, "s", 1, 1.50)
print(f"load average after:  {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
PY
