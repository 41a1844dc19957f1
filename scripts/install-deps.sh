#!/usr/bin/env bash
# Installs what QUV Select needs to build, run and test on Debian 12; does nothing when all is there.
set -euo pipefail
packages=(cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev
          clang libclang-rt-14-dev fonts-liberation fonts-dejavu-core xvfb xauth
          ca-certificates poppler-utils clang-format python3)
# The validators that the installed-tree test runs.
packages+=(desktop-file-utils appstream groff-base)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
