#!/usr/bin/env bash
# Checks quvtool's bash completion by calling it as bash would, and that every command and option
# in quvtool --help is completed and described in the manual page.
# usage: completion_test.sh PACKAGING_DIR QUVTOOL MANPAGE
set -uo pipefail
export LC_ALL=C
packaging=$1 quvtool=$2 manpage=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# shellcheck source=/dev/null
source "$packaging/bash-completion/quvtool"

complete_line() {
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _quvtool quvtool "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/QUV" "$tmp/Qout" && touch "$tmp/Qfile.png"

# typed line (a trailing blank starts a new word) | expected candidates, sorted
while IFS='|' read -r line expected; do
  [ -z "$line" ] && continue
  got=$(complete_line "$line")
  [ "$got" = "$expected" ] || fail "'$line' completes to '$got', expected '$expected'"
done <<CASES
quvtool |--help --version check convert export footprint import list metrics pattern3d plot print show sitefit summary synth xref
quvtool ex|export
quvtool --v|--version
quvtool check --|--catalogue --help --json --strict
quvtool import --|--help --out --replace
quvtool convert --|--date --format --help --out
quvtool print --job |both patterns space specs
quvtool summary --layout |antenna quv
quvtool summary --out $tmp/Q|$tmp/QUV $tmp/Qfile.png $tmp/Qout
quvtool export --format N|netplan nokia nsma
quvtool export --format ti|tia/eia
quvtool export --|--catalogue --category --date --file --format --help --match --multi --out --part --range
quvtool list --multi --|--catalogue --category --file --freq --gain --help --match --multi --part --pol --range --tilt
quvtool list --multi --pol |Dual Single
quvtool list --multi --tilt V|Variable
quvtool list --category 1|1 10 11 12 13 14 15 16 17 18 19
quvtool plot --cut |azimuth elevation
quvtool plot --|--catalogue --cut --field --file --help --out --part --reference --rotate --size
quvtool plot --out $tmp/Q|$tmp/QUV $tmp/Qfile.png $tmp/Qout
quvtool export --out $tmp/Q|$tmp/QUV $tmp/Qout
quvtool check --catalogue $tmp/Q|$tmp/QUV $tmp/Qout
quvtool synth --|--count --help --out --seed
quvtool pattern3d --method |auto bilinear projection summing
quvtool footprint --|--azimuth --catalogue --csv --file --height --help --mechanical-tilt --method --part --png --radius --slope
quvtool footprint --method |auto bilinear projection summing
quvtool show --part |
quvtool show --file |
quvtool show --|--catalogue --file --help --part
quvtool sitefit --|--band --catalogue --csv --height --help --min-margin --radius --sector --slope --tilt-range --top
quvtool sitefit --tilt-range |
quvtool sitefit --csv $tmp/Qf|$tmp/Qfile.png
quvtool nosuch --|
CASES

# Every command and option of the usage is completed and in the manual page.
usage=$("$quvtool" --help) || fail "quvtool --help failed"
commands=$(sed -n 's/^  \([a-z][a-z0-9]*\) .*/\1/p' <<<"$usage")
[ -n "$commands" ] || fail "no commands found in quvtool --help"
all_commands=$(complete_line "quvtool ")
for c in $commands; do
  grep -qw -- "$c" <<<"$all_commands" || fail "command $c is not completed"
  grep -q "^\.B $c\b" "$manpage" || fail "command $c is not described in quvtool(1)"
  # The command's line and its continuation lines, which start with blanks and a bracket.
  synopsis=$(awk -v c="$c" '$0 ~ "^  " c " " {on = 1; print; next}
                            on && /^ +[[-]/ {print; next} {on = 0}' <<<"$usage")
  # Whole option names, hyphens inside included: "--tilt-range", not its "--tilt".
  options=$(grep -o -- "--[a-z][a-z-]*[a-z]" <<<"$synopsis" | sort -u)
  offered=$(complete_line "quvtool $c --")
  for o in $options; do
    grep -qw -- "$o" <<<"$offered" || fail "option $o of $c is not completed"
    grep -qF -- "${o//-/'\-'}" "$manpage" || fail "option $o is not described in quvtool(1)"
  done
done

# The manual page's entries for one command (a command may have several), at the outer level of
# the COMMANDS section, with the entries of the commands they refer to (".BR list" for FILTER).
man_entries() {
  awk -v c="$1" '
    /^\.SH / { commands = ($2 == "COMMANDS"); on = 0; next }
    /^\.RS/ { depth++ } /^\.RE/ { depth-- }
    commands && depth == 0 && after_tp && /^\.B [a-z]/ { on = ($2 == c) }
    { after_tp = ($0 == ".TP") }
    on' "$manpage"
}
man_section() {
  local own refs r
  own=$(man_entries "$1")
  refs=$(sed -n 's/^\.BR \([a-z][a-z0-9]*\) .*/\1/p' <<<"$own" | sort -u)
  printf '%s\n' "$own"
  for r in $refs; do grep -qw -- "$r" <<<"$commands" && [ "$r" != "$1" ] && man_entries "$r"; done
}

# Every option a command's own --help explains is completed after that command, and its manual
# page entry names it and states the same numeric defaults.
for c in $commands; do
  help=$("$quvtool" "$c" --help) || { fail "quvtool $c --help failed"; continue; }
  part=$(awk '/^options:$/ {on = 1; next} /^example: / {on = 0} on' <<<"$help")
  lines=$(grep "^  --" <<<"$part")
  [ -n "$lines" ] || { fail "quvtool $c --help explains no option"; continue; }
  grep -q "^example: quvtool $c " <<<"$help" || fail "quvtool $c --help gives no example"
  offered=$(complete_line "quvtool $c --")
  # The multi search's criteria are offered once --multi is on the line.
  grep -q "^  --multi " <<<"$lines" && offered="$offered $(complete_line "quvtool $c --multi --")"
  section=$(man_section "$c")
  while read -r o _; do
    grep -qw -- "$o" <<<"$offered" || fail "option $o of $c --help is not completed"
    grep -qF -- "${o//-/'\-'}" <<<"$section" || fail "option $o of $c is not in its quvtool(1) entry"
  done <<<"$lines"
  # The option lines wrap, so the defaults are read from the whole options part.
  for d in $(tr -s '\n ' '  ' <<<"$part" | grep -o "default [0-9][0-9.,]*[0-9]*" | tr ' ' '_' | sort -u); do
    grep -qF -- "${d//_/ }" <<<"$section" ||
      fail "quvtool $c --help says '${d//_/ }', its quvtool(1) entry does not"
  done
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "completion and manual page cover every command and option"
