#!/usr/bin/env bash
# Metrics benchmark: quvtool metrics over a synthetic catalogue against quvtool check over the
# same files (page cache warm, run side by side, best of RUNS each). The metrics are linear
# passes over 722 levels per antenna, so they may cost at most as much again as loading.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
runs=${RUNS:-5}
tool="$build/quvtool"
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" synth --count "$count" --seed 7 --out "$work/QUV" >/dev/null
cat "$work"/QUV/*.quv >/dev/null # warm the page cache

best() { sort -n | head -1; }
check_times=() ; metrics_times=()
for _ in $(seq "$runs"); do
  check_times+=("$( { /usr/bin/time -f '%e' "$tool" check --catalogue "$work/QUV" >/dev/null; } 2>&1 )")
  metrics_times+=("$( { /usr/bin/time -f '%e' "$tool" metrics --catalogue "$work/QUV" >/dev/null; } 2>&1 )")
done
rows=$("$tool" metrics --catalogue "$work/QUV" | wc -l)
check_best=$(printf '%s\n' "${check_times[@]}" | best)
metrics_best=$(printf '%s\n' "${metrics_times[@]}" | best)
awk -v c="$check_best" -v m="$metrics_best" -v n="$count" -v r="$rows" 'BEGIN {
  t = (c > 0) ? m / c : 0;
  printf "files: %d, metrics rows: %d\n", n, r - 1;
  printf "quvtool check: %.2f s, quvtool metrics: %.2f s, ratio %.2f (limit 2.0) %s\n", c, m, t, (t <= 2.0 && r - 1 == n ? "PASS" : "FAIL");
}'
