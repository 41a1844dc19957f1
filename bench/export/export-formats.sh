#!/usr/bin/env bash
# Export benchmark: quvtool export of a 10,000-antenna synthetic catalogue to every format that
# has a writer, each against cp -r of the folder it produced (the same files with the same
# bytes) followed by sync, one line per format. FORMATS="planet nokia ..." limits the run to those formats.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
runs=${RUNS:-5}
tool="$build/quvtool"
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Elapsed and user-mode seconds of a command, its own output discarded. The user time is the
# program's own work; the system time is mostly the kernel creating files, the same for every
# format and moved by the machine's state far more than by the writer.
timed() { /usr/bin/time -f '%e %U' -o "$work/time" "$@" >/dev/null 2>&1; cat "$work/time"; }
best() { sort -n | head -1; }

# Which rows of the format table have a writer, and their log names: export a good antenna and
# one whose levels are not numbers. The error log names the format; a row with a writer saves
# the good antenna ("1 out of 2"), a row without one saves neither.
"$tool" synth --count 2 --seed 7 --out "$work/probe" >/dev/null
sed -i -E 's/^(-?[0-9]+)=.*/\1=x/' "$(find "$work/probe" -name '*.quv' | sort | tail -1)"
names=()
for index in $(seq 0 17); do
  mkdir -p "$work/probe-out/$index"
  log=$("$tool" export --catalogue "$work/probe" --format "$index" --out "$work/probe-out/$index" 2>&1 >/dev/null || true)
  name=$(sed -n 's/^Export to //p' <<<"$log")
  if [[ -z "$name" ]]; then echo "format $index: no error log from the probe"; exit 1; fi
  if ! grep -q '^1 out of 2 ' <<<"$log"; then echo "$name: no writer in this build"; continue; fi
  if [[ -n "${FORMATS:-}" ]] && ! grep -qiwF -- "$name" <<<"$FORMATS"; then continue; fi
  names+=("$name")
done

"$tool" synth --count "$count" --seed 7 --out "$work/QUV" >/dev/null
cat "$work"/QUV/*.quv >/dev/null # warm the page cache
# Loading the catalogue is part of every command but not of the export the window runs.
load_times=(); load_cpus=()
for _ in $(seq "$runs"); do
  read -r elapsed cpu < <(timed "$tool" check --catalogue "$work/QUV")
  load_times+=("$elapsed"); load_cpus+=("$cpu")
done
load_best=$(printf '%s\n' "${load_times[@]}" | best)
load_cpu=$(printf '%s\n' "${load_cpus[@]}" | best)
printf 'antennas: %d, catalogue load %.2f s (user %.2f s), subtracted below; best of %d runs\n' \
  "$count" "$load_best" "$load_cpu" "$runs"

planet_ratio=""
for name in "${names[@]}"; do
  export_times=(); export_cpus=(); copy_times=()
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" "$work/copy"
    mkdir "$work/out"
    # Without this the previous run's removal and write-back land on the next timed command,
    # and whichever format comes first looks several times cheaper than the rest.
    sync
    read -r elapsed cpu < <(timed "$tool" export --catalogue "$work/QUV" --format "$name" --out "$work/out")
    export_times+=("$elapsed"); export_cpus+=("$cpu")
    sync
    # The export puts its files on disk before it reports success; the copy is measured the same.
    read -r elapsed cpu < <(timed sh -c 'cp -r "$1" "$2" && sync' sh "$work/out" "$work/copy")
    copy_times+=("$elapsed")
  done
  diff -rq "$work/out" "$work/copy" >/dev/null || { echo "$name: copy differs"; exit 1; }
  files=$(find "$work/out" -type f | wc -l)
  bytes=$(find "$work/out" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}')
  export_best=$(printf '%s\n' "${export_times[@]}" | best)
  copy_best=$(printf '%s\n' "${copy_times[@]}" | best)
  cpu_best=$(printf '%s\n' "${export_cpus[@]}" | best)
  ratio=$(awk -v e="$export_best" -v l="$load_best" -v c="$copy_best" \
    'BEGIN { x = e - l; if (x < 0) x = 0; printf "%.2f", (c > 0) ? x / c : 0 }')
  cpu=$(awk -v e="$cpu_best" -v l="$load_cpu" 'BEGIN { x = e - l; printf "%.2f", (x < 0) ? 0 : x }')
  [[ "$name" == Planet ]] && planet_ratio=$ratio && planet_cpu=$cpu
  awk -v n="$name" -v f="$files" -v b="$bytes" -v e="$export_best" -v l="$load_best" \
      -v c="$copy_best" -v r="$ratio" -v p="$planet_ratio" -v u="$cpu" -v pu="${planet_cpu:-}" 'BEGIN {
    x = e - l; if (x < 0) x = 0;
    vs = (p != "" && p > 0) ? sprintf("%.2f x Planet", r / p) : "";
    vu = (pu != "" && pu > 0) ? sprintf(", user %.2f x Planet", u / pu) : "";
    printf "%-9s %6d files %6.1f MB  export %5.2f s (user %5.2f s)  cp -r + sync %5.2f s  export / (cp -r + sync) %5.2f (limit 2) %s  %s%s\n",
      n, f, b / 1e6, x, u, c, r, (r <= 2 ? "PASS" : "FAIL"), vs, vu;
  }'
done
