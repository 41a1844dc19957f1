#!/usr/bin/env bash
# Installs what is missing, builds QUV Select and starts it on the bundled sample catalogue.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" --target quvselect quvtool quv_sample_catalogue
exec "$root/build/quvselect" "$@"
