#!/usr/bin/env bash
# Builds the Debian package of QUV Select (build-package/quvselect_VERSION_ARCH.deb) with the
# distribution's compiler flags, and checks it with lintian. Installs what it needs when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-package
jobs=$(nproc 2>/dev/null || echo 2)
"$root/scripts/install-deps.sh"

packages=(dpkg-dev file lintian fakeroot)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Hardening and optimisation as Debian builds its own packages.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DQUV_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  "${launcher[@]}"
cmake --build "$build" -j"$jobs"
rm -f "$build"/quvselect_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/quvselect_*.deb)

# Warnings kept on purpose are listed with their reasons in the README's package section.
lintian --fail-on error "$deb"
echo "Package: $deb"
echo "Install it with: sudo apt install $deb"
