#!/usr/bin/env bash
# The refresh of ./run on a working folder made from an older factory tree:
# the data/ of the commit before the foreign towns got their zone-rule files
# (so its TownsForeign1.twn keeps New York on a fixed zone and it has no
# region zone files), then used: a town added, a setting changed, a chart
# database saved, a blank renamed, a factory copy converted to the decimal
# comma, a PDF printed. After the refresh the factory files are today's, the
# user's are byte for byte as they were, and a second refresh does nothing.
#
#   tests/refresh_work_test.sh SOURCE_ROOT
# Exits 77 (skipped) outside a git checkout holding that commit.
set -euo pipefail
root=$(cd "$1" && pwd)
command -v git >/dev/null && git -C "$root" rev-parse --git-dir >/dev/null 2>&1 || exit 77
added=$(git -C "$root" log --diff-filter=A --format=%H -- "data/Towns/Zone 31.zon" | tail -1)
[ -n "$added" ] || exit 77

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
git -C "$root" archive "$added^" data | tar -x -C "$tmp"
work="$tmp/work"
mv "$tmp/data" "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
[ ! -e "$work/Towns/Region 10.zon" ] || fail "the old tree already has the region files"
grep -a "^New York City" "$work/Towns/TownsForeign1.twn" | grep -q "00"$'\r'"\$" ||
  fail "the old tree's New York is not on a fixed zone"

# what the user and the program did in the old folder
printf '%-20s%-20s%-6s%s     %s   %s    00\r\n' "Dacha" "Russia" "MSK" "+03:00" "56N10" "036E50" \
  >>"$work/Towns/TownsUser.twn"
printf '4\r\n' | cat - <(tail -n +2 "$work/Options/OPT.opt") >"$tmp/opt" && mv "$tmp/opt" "$work/Options/OPT.opt"
printf 'Consultations\r\n' >"$work/Print/CB1.diz"
sed -i 's/\./,/' "$work/Options/Standart/AOR1.opt"
mkdir -p "$work/PDF" "$work/Charts"
printf '%%PDF-1.4\n' >"$work/PDF/Chart.pdf"
printf 'root\r\n' >"$work/Charts/Questions.zrt"
printf '1\r\n' >"$work/Charts/Questions.zrn"
rm "$work/Towns/Time.ttt"
user=(Towns/TownsUser.twn Options/OPT.opt Print/CB1.diz Options/Standart/AOR1.opt
  PDF/Chart.pdf Charts/Questions.zrt Charts/Questions.zrn)
(cd "$work" && sha256sum "${user[@]}") >"$tmp/user.sum"

"$root/scripts/refresh_work.sh" "$root/data" "$work" >"$tmp/first.log"

(cd "$work" && sha256sum --quiet -c "$tmp/user.sum") || fail "a file of the user's changed"
for f in "$root"/data/Towns/*; do
  name=${f#"$root/data/"}
  [ "$name" = Towns/TownsUser.twn ] && continue
  cmp -s "$f" "$work/$name" || fail "$name is not the factory's"
done
cmp -s "$root/data/Options/LangH.lan" "$work/Options/LangH.lan" || fail "the language file is old"
grep -a "^New York City" "$work/Towns/TownsForeign1.twn" | grep -vq "00"$'\r'"\$" ||
  fail "New York still keeps a fixed zone"
grep -q "^refreshed: Towns/TownsForeign1.twn$" "$tmp/first.log" || fail "no refresh reported"
grep -q "^added: Towns/Region 10.zon$" "$tmp/first.log" || fail "no region file reported"
grep -q "^added: Towns/Time.ttt$" "$tmp/first.log" || fail "a missing file not added"
(cd "$root/data" && find . -type f) | while IFS= read -r f; do
  [ -e "$work/$f" ] || fail "$f is missing"
done

"$root/scripts/refresh_work.sh" "$root/data" "$work" >"$tmp/second.log"
[ ! -s "$tmp/second.log" ] || fail "a second refresh changed: $(cat "$tmp/second.log")"
echo "refresh of an old working folder: $(wc -l <"$tmp/first.log") files brought up to date"
