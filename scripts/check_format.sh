#!/usr/bin/env bash
# Checks that every C++ source of the repository is formatted as the
# project's .clang-format says; prints the files that are not.
#   check_format.sh [repository root]      check
#   check_format.sh --fix [repository root] format them in place
set -euo pipefail
fix=0
if [ "${1:-}" = "--fix" ]; then fix=1; shift; fi
cd "${1:-$(dirname "$0")/..}"
# without the formatter nothing is checked: that is a failure, never a pass
if ! command -v clang-format >/dev/null 2>&1; then
  echo "clang-format not found: the format cannot be checked" >&2
  exit 1
fi
mapfile -t files < <(find engine platform chart judgement input mainwindow printing tests bench fuzz main.cpp \
  -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ $fix -eq 1 ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# one run over every file; each misformatted line is reported as "file:line:col: error"
unformatted=$(clang-format --dry-run --Werror "${files[@]}" 2>&1 | grep -o '^[^:]*:[0-9]*:[0-9]*: error' \
  | cut -d: -f1 | sort -u || true)
if [ -n "$unformatted" ]; then
  echo "not formatted by .clang-format:"
  echo "$unformatted"
  exit 1
fi
echo "${#files[@]} files formatted"
