#!/usr/bin/env bash
# Import and convert benchmark: 10,000 Planet files exported from a synthetic catalogue, imported
# into a catalogue folder against `quvtool check` loading the catalogue they came from, and
# converted to NSMA against `cp -r` + `sync` of the same files (page cache warm, run side by side,
# best of RUNS each). Limits: import at most 2 x check, convert at most 2 x copy.
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
mkdir "$work/pln"
"$tool" export --catalogue "$work/QUV" --format planet --out "$work/pln" --date 2024-03-07 >/dev/null
cat "$work"/QUV/*.quv "$work"/pln/* >/dev/null # warm the page cache

timed() { /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null 2>&1 || true; tail -1 "$work/time"; }
best() { sort -n | head -1; }
check=() ; import=() ; copy=() ; convert=()
for _ in $(seq "$runs"); do
  rm -rf "$work/imp" "$work/copy" "$work/nsma"; mkdir "$work/nsma"; sync
  check+=("$(timed "$tool" check --catalogue "$work/QUV")")
  import+=("$(timed "$tool" import --out "$work/imp" "$work/pln")")
  copy+=("$(timed sh -c "cp -r '$work/pln' '$work/copy' && sync")")
  convert+=("$(timed "$tool" convert --format nsma --out "$work/nsma" "$work/pln")")
done
imported=$(ls "$work/imp" | wc -l)
converted=$(ls "$work/nsma" | wc -l)
awk -v c="$(printf '%s\n' "${check[@]}" | best)" -v i="$(printf '%s\n' "${import[@]}" | best)" \
    -v p="$(printf '%s\n' "${copy[@]}" | best)" -v v="$(printf '%s\n' "${convert[@]}" | best)" \
    -v n="$count" -v ni="$imported" -v nv="$converted" 'BEGIN {
  ti = (c > 0) ? i / c : 0; tv = (p > 0) ? v / p : 0;
  printf "Planet files: %d, imported: %d, converted: %d\n", n, ni, nv;
  printf "quvtool check: %.2f s, quvtool import: %.2f s, ratio %.2f (limit 2.0) %s\n", c, i, ti, (c > 0 && ti <= 2.0 && ni == n ? "PASS" : "FAIL");
  printf "cp -r + sync: %.2f s, quvtool convert to NSMA: %.2f s, ratio %.2f (limit 2.0) %s\n", p, v, tv, (p > 0 && tv <= 2.0 && nv == n ? "PASS" : "FAIL");
}'
