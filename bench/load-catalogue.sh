#!/usr/bin/env bash
# Loading benchmark: quvtool check over a synthetic catalogue against cat over the same files
# (page cache warm, run side by side), and the resident memory the loaded catalogue costs.
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
mkdir "$work/empty"
bytes=$(find "$work/QUV" -name '*.quv' -printf '%s\n' | awk '{s+=$1} END {print s}')
cat "$work"/QUV/*.quv >/dev/null # warm the page cache

best() { sort -n | head -1; }
cat_times=() ; load_times=()
for _ in $(seq "$runs"); do
  cat_times+=("$( { /usr/bin/time -f '%e' cat "$work"/QUV/*.quv >/dev/null; } 2>&1 )")
  load_times+=("$( { /usr/bin/time -f '%e' "$tool" check --catalogue "$work/QUV" >/dev/null; } 2>&1 )")
done
cat_best=$(printf '%s\n' "${cat_times[@]}" | best)
load_best=$(printf '%s\n' "${load_times[@]}" | best)
rss_full=$( { /usr/bin/time -f '%M' "$tool" check --catalogue "$work/QUV" >/dev/null; } 2>&1 )
rss_empty=$( { /usr/bin/time -f '%M' "$tool" check --catalogue "$work/empty" >/dev/null; } 2>&1 )
catalogue_kb=$((rss_full - rss_empty))
awk -v c="$cat_best" -v l="$load_best" -v b="$bytes" -v k="$catalogue_kb" -v n="$count" 'BEGIN {
  t = (c > 0) ? l / c : 0; m = k * 1024 / b;
  printf "files: %d, %.1f MB\n", n, b / 1e6;
  printf "cat: %.2f s, quvtool check: %.2f s, ratio %.2f (limit 2.5) %s\n", c, l, t, (t <= 2.5 ? "PASS" : "FAIL");
  printf "catalogue resident: %.1f MB, %.2f x file bytes (limit 1.5) %s\n", k / 1024, m, (m <= 1.5 ? "PASS" : "FAIL");
}'
