#!/usr/bin/env bash
# Fails, naming the files, when a C++ source or header is not formatted as .clang-format says.
# With --fix it formats them instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# find, not git: the check also runs on an unpacked archive of the tree.
mapfile -t files < <(find src tests bench fuzz -path tests/data -prune -o \
                          -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted (run scripts/check-format.sh --fix):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "All ${#files[@]} source files are formatted."
