#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR as a package would (prefix /usr) and checks the
# tree: the distribution's validators report nothing, every file is where the desktop, man and
# bash look for it, and both programs run through their links from the installed tree.
# usage: install_tree_test.sh BUILD_DIR VERSION APP_ID
set -uo pipefail
build=$1 version=$2 id=$3
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli gzip; do
  command -v "$tool" >/dev/null ||
    { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
if ! DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1; then
  cat "$dest.log" >&2; rm -f "$dest.log"; echo "FAIL: cmake --install" >&2; exit 1
fi
rm -f "$dest.log"
usr=$dest/usr

# path | kind (file, link:TARGET, dir)
while IFS='|' read -r path kind; do
  [ -z "$path" ] && continue
  case $kind in
    file) [ -f "$usr/$path" ] && [ ! -L "$usr/$path" ] || fail "$path is not a plain file" ;;
    exe) [ -x "$usr/$path" ] && [ ! -L "$usr/$path" ] || fail "$path is not an executable file" ;;
    link:*) [ "$(readlink "$usr/$path" 2>/dev/null)" = "${kind#link:}" ] ||
              fail "$path links to '$(readlink "$usr/$path" 2>/dev/null)', not '${kind#link:}'" ;;
  esac
done <<LIST
lib/quvselect/quvselect|exe
lib/quvselect/quvtool|exe
bin/quvselect|link:../lib/quvselect/quvselect
bin/quvtool|link:../lib/quvselect/quvtool
share/applications/$id.desktop|file
share/metainfo/$id.metainfo.xml|file
share/icons/hicolor/scalable/apps/$id.svg|file
share/man/man1/quvselect.1.gz|file
share/man/man1/quvtool.1.gz|file
share/bash-completion/completions/quvtool|file
share/doc/quvselect/copyright|file
share/doc/quvselect/changelog.gz|file
LIST

installed=$(find "$usr/lib/quvselect/QUV" -maxdepth 1 -name '*.quv' -type f | wc -l)
bundled=$(find "$(dirname "$0")/../../data/QUV" -maxdepth 1 -name '*.quv' -type f | wc -l)
[ "$installed" -gt 0 ] && [ "$installed" -eq "$bundled" ] ||
  fail "lib/quvselect/QUV holds $installed data files, the sample catalogue $bundled"

# Each PNG icon must have the size its folder promises (width and height from the IHDR chunk).
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  if [ ! -f "$png" ]; then fail "icon ${size}x${size} missing"; continue; fi
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
                  awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon ${size}x${size} is $w x $h"
done

out=$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1)
[ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --no-color "$usr/share/metainfo/$id.metainfo.xml" 2>&1)
rc=$?
{ [ $rc -eq 0 ] && ! grep -qE '^[EWI]: ' <<<"$out"; } || fail "appstreamcli validate: $out"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo's release is not $version"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the desktop entry names another icon"

for page in quvselect quvtool; do
  gzip -t "$usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not a valid gzip file"
  zcat "$usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1 .*\"quvselect $version\"" ||
    fail "$page(1) does not carry version $version"
  if command -v groff >/dev/null; then
    warnings=$(zcat "$usr/share/man/man1/$page.1.gz" | groff -t -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "groff warns on $page(1): $warnings"
  fi
done

# The programs find their folder through the links; the user's folders are kept out of it.
export HOME=$dest/home XDG_DATA_HOME=$dest/home/data XDG_CONFIG_HOME=$dest/home/config
for program in quvselect quvtool; do
  out=$("$usr/bin/$program" --version 2>&1) || fail "$program --version failed"
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
  out=$("$usr/bin/$program" --help 2>/dev/null) || fail "$program --help failed"
  grep -q "^usage: $program" <<<"$out" || fail "$program --help printed no usage"
done
out=$(cd / && "$usr/bin/quvtool" check 2>&1) || fail "installed quvtool check failed: $out"
[ "$out" = "$installed loaded, 0 failed" ] || fail "installed quvtool check printed '$out'"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed tree is complete and valid"
