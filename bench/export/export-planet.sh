#!/usr/bin/env bash
# Export benchmark: quvtool export of a 10,000-antenna synthetic catalogue to Planet against
# cp -r of the folder it produced (the same files with the same bytes) followed by sync, run side
# by side.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
runs=${RUNS:-5}
tool="$build/quvtool"
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" synth --count "$count" --seed 7 --out "$work/QUV" >/dev/null
cat "$work"/QUV/*.quv >/dev/null # warm the page cache

seconds() { { /usr/bin/time -f '%e' "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -1; }
best() { sort -n | head -1; }
export_times=(); load_times=(); copy_times=()
for _ in $(seq "$runs"); do
  rm -rf "$work/out" "$work/copy"
  mkdir "$work/out"
  export_times+=("$( { /usr/bin/time -f '%e' "$tool" export --catalogue "$work/QUV" --format planet \
                       --out "$work/out" >/dev/null; } 2>&1 | tail -1 )")
  # The export puts its files on disk before it reports success; the copy is measured the same.
  copy_times+=("$( { /usr/bin/time -f '%e' sh -c 'cp -r "$1" "$2" && sync' sh "$work/out" "$work/copy"; } 2>&1 | tail -1 )")
  # Loading the catalogue is part of the command but not of the export the window runs.
  load_times+=("$( { /usr/bin/time -f '%e' "$tool" check --catalogue "$work/QUV" >/dev/null; } 2>&1 | tail -1 )")
done
files=$(find "$work/out" -name '*.pln' | wc -l)
bytes=$(find "$work/out" -name '*.pln' -printf '%s\n' | awk '{s+=$1} END {print s}')
cmp -s <(cd "$work/out" && cat -- *.pln) <(cd "$work/copy" && cat -- *.pln) || { echo "copy differs"; exit 1; }
export_best=$(printf '%s\n' "${export_times[@]}" | best)
copy_best=$(printf '%s\n' "${copy_times[@]}" | best)
load_best=$(printf '%s\n' "${load_times[@]}" | best)
awk -v e="$export_best" -v c="$copy_best" -v l="$load_best" -v n="$files" -v b="$bytes" 'BEGIN {
  x = e - l; if (x < 0) x = 0;
  r = (c > 0) ? x / c : 0; t = (c > 0) ? e / c : 0;
  printf "files: %d, %.1f MB\n", n, b / 1e6;
  printf "quvtool export: %.2f s (catalogue load %.2f s, export %.2f s); cp -r + sync: %.2f s\n", e, l, x, c;
  printf "export / (cp -r + sync): %.2f (limit 2) %s; whole command / (cp -r + sync): %.2f\n", r, (r <= 2 ? "PASS" : "FAIL"), t;
}'
