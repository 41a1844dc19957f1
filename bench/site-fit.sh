#!/usr/bin/env bash
# Site ranking benchmark: quvtool sitefit (30 m mast, 1 km cell, the default 120-degree sector
# and 21 tilts) over the sample catalogue and over a synthetic catalogue of COUNT antennas, whole
# command including the load, best of RUNS each with the page cache warm. Limits: the sample
# catalogue in at most 1 s, the large one in at most 30 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
runs=${RUNS:-3}
tool="$build/quvtool"
sample="$root/data/QUV"
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" synth --count "$count" --seed 7 --out "$work/QUV" >/dev/null
cat "$work"/QUV/*.quv "$sample"/*.quv >/dev/null # warm the page cache

best() { sort -n | head -1; }
site=(--height 30 --radius 1000 --csv "$work/out.csv")
sample_times=() ; large_times=()
for _ in $(seq "$runs"); do
  sample_times+=("$( { /usr/bin/time -f '%e' "$tool" sitefit --catalogue "$sample" "${site[@]}" >/dev/null; } 2>&1 )")
done
sample_rows=$(($(wc -l <"$work/out.csv") - 1))
for _ in $(seq "$runs"); do
  large_times+=("$( { /usr/bin/time -f '%e' "$tool" sitefit --catalogue "$work/QUV" "${site[@]}" >/dev/null; } 2>&1 )")
done
large_rows=$(($(wc -l <"$work/out.csv") - 1))
sample_best=$(printf '%s\n' "${sample_times[@]}" | best)
large_best=$(printf '%s\n' "${large_times[@]}" | best)
awk -v s="$sample_best" -v l="$large_best" -v sr="$sample_rows" -v lr="$large_rows" -v n="$count" \
    -v cores="$(nproc)" 'BEGIN {
  printf "cores: %d\n", cores;
  printf "sample catalogue: %d antennas in %.2f s (limit 1.0) %s\n", sr, s, (s <= 1.0 ? "PASS" : "FAIL");
  printf "synthetic catalogue: %d of %d antennas in %.2f s (limit 30) %s\n", lr, n, l, (l <= 30 && lr == n ? "PASS" : "FAIL");
}'
