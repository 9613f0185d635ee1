#!/usr/bin/env bash
# Brings a working folder made from the factory data tree up to date with it.
#
#   scripts/refresh_work.sh DATA WORK
#   (or, sourced:  refresh_work DATA WORK)
#
# Every file of DATA that WORK lacks is copied in. A file WORK already has is
# replaced by DATA's when they differ, unless the program writes it: those
# are the user's (settings, topic lists, blanks, the user's towns, charts,
# printed and exported pictures) and stay as they are. The program writes:
#   * Options/: the sixteen chart settings files at every exit; PRC1.opt,
#     DBD.opt, RulTF.opt and rec.box from the calculation parameters (and the
#     factory restore, which also rewrites the chart settings); the topic
#     lists C11, C12, C13, C21, S12, S13, S21 (.box); the element tree
#     TV1.opt; the markers RUN3.opt and RUN1.opt;
#   * every file named by the decimal-separator lists (Options/RUN4.opt and
#     Options/RUN.opt for Options/, Options/RUN.opt again for
#     Options/Standart/, RUN.opt for the folder itself, Map/RUN.opt, Map/GR/RUN.opt),
#     read from both trees: the program rewrites them when the locale's
#     separator changes;
#   * Print/*.diz, Towns/TownsUser.twn, the chart databases (.zrn, .zrt), and
#     whatever lies under PDF/ and BMP/.
# Everything else (towns, zone files, Time.ttt, Hour_zone.ttt, the language
# file, the texts, the dignity tables, Options/Standart, the help) is the
# factory's alone. Replacing goes through a temporary file in the same folder
# and a rename, so an interrupted run leaves each file whole.
#
# Prints one line per file copied or replaced; nothing when WORK is current.

# Names listed by a decimal-separator list (code page 1251, CR LF), each
# prefixed with a folder, one a line.
_refresh_listed() {
  local list=$1 prefix=$2 name
  [ -f "$list" ] || return 0
  iconv -f CP1251 -t UTF-8 "$list" 2>/dev/null | tr -d '\r' | while IFS= read -r name; do
    [ -n "$name" ] && printf '%s%s\n' "$prefix" "$name"
  done
}

# The files named by the separator lists of a tree, relative to it.
_refresh_separator_files() {
  local tree=$1
  _refresh_listed "$tree/Options/RUN4.opt" "Options/"
  _refresh_listed "$tree/Options/RUN.opt" "Options/"
  _refresh_listed "$tree/Options/RUN.opt" "Options/Standart/"
  _refresh_listed "$tree/RUN.opt" ""
  _refresh_listed "$tree/Map/RUN.opt" "Map/"
  _refresh_listed "$tree/Map/GR/RUN.opt" "Map/GR/"
}

# True when the program writes the file at this path (relative to the
# working folder). The separator lists' files are looked up in the
# associative array named by $2 (the path a key), when given.
program_writes() {
  local path=$1
  case "$path" in
    Options/CS.opt | Options/CA.opt | Options/CH.opt | Options/SP.opt | Options/OPT.opt | \
      Options/KR.opt | Options/IF.opt | Options/TAP1.opt | Options/TDO1.opt | \
      Options/TDA1.opt | Options/KA1.opt | Options/KSBS1.opt | Options/AOR1.opt | \
      Options/ALMD.opt | Options/ALMN.opt | Options/PAR.opt) return 0 ;;
    Options/PRC1.opt | Options/DBD.opt | Options/RulTF.opt | Options/rec.box) return 0 ;;
    Options/C11.box | Options/C12.box | Options/C13.box | Options/C21.box | \
      Options/S12.box | Options/S13.box | Options/S21.box) return 0 ;;
    Options/TV1.opt | Options/RUN3.opt | Options/RUN1.opt) return 0 ;;
    Print/*.diz | Towns/TownsUser.twn | PDF/* | BMP/*) return 0 ;;
    *.zrn | *.zrt | *.ZRN | *.ZRT) return 0 ;;
  esac
  [ -n "${2-}" ] || return 1
  local -n _listed=$2
  [ -n "${_listed[$path]-}" ]
}

# Checksums of files of a folder, as "hash path" lines with paths relative to
# it, for the NUL-separated paths on input.
_refresh_sums() {
  (cd "$1" && xargs -0 -r sha256sum --) | sed 's|^\([0-9a-f]*\)  \./|\1 |'
}

refresh_work() {
  local data=$1 work=$2 path target tmp sum
  local -A listed=() factory=() current=()
  while IFS= read -r path; do
    [ -n "$path" ] && listed[$path]=1
  done < <(
    _refresh_separator_files "$data"
    _refresh_separator_files "$work"
  )
  local -a paths=() present=()
  while IFS= read -r -d '' path; do
    paths+=("${path#./}")
    [ -e "$work/${path#./}" ] && present+=("$path")
  done < <(cd "$data" && find . -type f -print0 | sort -z)
  [ ${#paths[@]} -gt 0 ] || return 0
  while read -r sum path; do factory[$path]=$sum; done \
    < <(printf './%s\0' "${paths[@]}" | _refresh_sums "$data")
  if [ ${#present[@]} -gt 0 ]; then
    while read -r sum path; do current[$path]=$sum; done \
      < <(printf '%s\0' "${present[@]}" | _refresh_sums "$work")
  fi
  for path in "${paths[@]}"; do
    target="$work/$path"
    if [ -e "$target" ]; then
      program_writes "$path" listed && continue
      [ "${current[$path]-}" = "${factory[$path]}" ] && continue
      echo "refreshed: $path"
    else
      echo "added: $path"
    fi
    [ -d "${target%/*}" ] || mkdir -p "${target%/*}"
    tmp="${target%/*}/.refresh.$$.tmp"
    if ! { cp -p "$data/$path" "$tmp" && mv -f "$tmp" "$target"; }; then
      rm -f "$tmp"
      echo "cannot bring $target up to date from $data/$path" >&2
      return 1
    fi
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -d "$2" ]; then
    echo "usage: $0 DATA WORK (two existing folders)" >&2
    exit 2
  fi
  refresh_work "$1" "$2"
fi
