#!/usr/bin/env bash
# Installs what is missing, builds QUV Select and runs every test: the whole suite, the core
# tests again under address and undefined-behaviour sanitizers, and a short fuzz run of the loader.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${QUV_FUZZ_SECONDS:-60}
"$root/scripts/install-deps.sh"

echo "== Source formatting and include layers"
"$root/scripts/check-format.sh"
python3 "$root/scripts/include-graph.py" --check

echo "== Build and run every test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs" --timeout 300 --no-tests=error

echo "== Core and command-line tests under the sanitizers"
cmake -S "$root" -B "$root/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUV_SANITIZE=ON
cmake --build "$root/build-sanitize" -j"$jobs" --target quvcore_tests quvdraw_tests quvcli_tests quvtool
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs" --timeout 600 --no-tests=error \
        -L 'quvcore_tests|quvdraw_tests|quvcli_tests'

echo "== Fuzz the loader for ${fuzz_seconds} s"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUV_SANITIZE=ON -DQUV_FUZZ=ON -DQUV_BUILD_TESTS=OFF
cmake --build "$root/build-fuzz" -j"$jobs" --target quv_loader_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
n=0
while IFS= read -r -d '' f; do cp "$f" "$corpus/seed$n"; n=$((n + 1)); done \
  < <(find "$root/data/QUV" "$root/tests/data" -type f -size -1024k -print0)
"$root/build-fuzz/fuzz/quv_loader_fuzz" -max_total_time="$fuzz_seconds" -timeout=10 -max_len=16384 \
  -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
echo "== All tests passed"
