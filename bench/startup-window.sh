#!/usr/bin/env bash
# Start-up benchmark: how long after its start quvselect's main window appears on a synthetic
# catalogue, against the catalogue's load time (quvtool check) plus the splash wait.
# Runs under Xvfb with openbox as the window manager (started here when DISPLAY is unset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
runs=${RUNS:-5}
splash_wait=1.0 # the program's fixed wait behind the full splash
slack=0.5
for tool in xdotool openbox /usr/bin/time; do
  command -v "$tool" >/dev/null ||
    { echo "needs $tool (apt-get install xdotool openbox time xvfb)"; exit 2; }
done
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
if ! pgrep -u "$(id -u)" -x openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true' EXIT
# The program looks for its catalogue beside its executable.
cp "$build/quvselect" "$work/"
"$build/quvtool" synth --count "$count" --seed 7 --out "$work/QUV" >/dev/null
cat "$work"/QUV/*.quv >/dev/null # warm the page cache

# Seconds from the start of quvselect until its 691 x 550 main window is mapped.
window_time() {
  local start now id pid
  start=$EPOCHREALTIME
  "$work/quvselect" >/dev/null 2>&1 &
  pid=$!
  while :; do
    for id in $(xdotool search --onlyvisible --name '^QUV Select$' 2>/dev/null); do
      if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 691x550'; then
        now=$EPOCHREALTIME
        kill "$pid"; wait "$pid" 2>/dev/null || true
        awk -v a="$start" -v b="$now" 'BEGIN { printf "%.2f\n", b - a }'
        return
      fi
    done
    if ! kill -0 "$pid" 2>/dev/null; then echo "quvselect ended before its window appeared" >&2; exit 1; fi
    sleep 0.02
  done
}

best() { sort -n | head -1; }
load_times=(); window_times=()
for _ in $(seq "$runs"); do
  load_times+=("$( { /usr/bin/time -f '%e' "$build/quvtool" check --catalogue "$work/QUV" >/dev/null; } 2>&1 | tail -1 )")
  window_times+=("$(window_time)")
done
load_best=$(printf '%s\n' "${load_times[@]}" | best)
window_best=$(printf '%s\n' "${window_times[@]}" | best)
awk -v l="$load_best" -v w="$window_best" -v s="$splash_wait" -v k="$slack" -v n="$count" 'BEGIN {
  limit = l + s + k;
  printf "files: %d\n", n;
  printf "catalogue load (quvtool check): %.2f s, splash wait %.1f s\n", l, s;
  printf "main window after %.2f s (limit load + wait + %.1f = %.2f s) %s\n", w, k, limit,
         (w <= limit ? "PASS" : "FAIL");
  exit (w <= limit ? 0 : 1);
}'
