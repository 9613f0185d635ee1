#!/usr/bin/env bash
# Builds the fuzz harnesses with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), seeds each from the factory files and runs it.
#
#   fuzz/run.sh [seconds per harness] [harness ...]
#
# Default: 5 seconds each, every harness, one after the other. The corpus
# grows in <build>/corpus/<harness> from run to run; an input that crashes is
# kept as <build>/artifacts/<harness>-crash-... and the script fails.
# FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (build jobs, default 4),
# FUZZ_RUNS (stop each harness after that many inputs, within the seconds).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
all=(dbrecord dbtree dbpair settings language towns zones blanks datainput qck almagest zet skyworker gemma
  uranus)
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=("${all[@]}")

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DHORARY_FUZZ=ON -DHORARY_BUILD_TESTS=OFF -DHORARY_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${FUZZ_JOBS:-4}" --target "${harnesses[@]/#/fuzz_}" >/dev/null

# Seeds: the factory files, each behind the selector byte its harness reads.
data=$root/data
seeds=$build/seeds
rm -rf "$seeds"
seed() {  # seed <harness> <name> <selector byte or ""> <file ...>
  local harness=$1 name=$2 selector=$3
  shift 3
  mkdir -p "$seeds/$harness"
  { [ -z "$selector" ] || printf "\\x$(printf %02x "$selector")"; cat "$@"; } >"$seeds/$harness/$name"
  truncate -s "<${FUZZ_SEED_BYTES:-20000}" "$seeds/$harness/$name"
}
sample=$root/fuzz/seeds
n=0
while IFS= read -r line; do
  n=$((n + 1))
  mkdir -p "$seeds/dbrecord"
  printf '%s' "${line%$'\r'}" >"$seeds/dbrecord/line$n"
done <"$sample/sample.zrn"
seed dbtree sample "" "$sample/sample.zrt"
mkdir -p "$seeds/dbpair"
{ cat "$sample/sample.zrt"; printf '\0'; cat "$sample/sample.zrn"; } >"$seeds/dbpair/sample"
i=0
for name in CS CA CH SP OPT KR IF TAP1 TDO1 TDA1 KA1 KSBS1 AOR1 ALMD ALMN PAR; do
  seed settings "$name" "$i" "$data/Options/$name.opt"
  i=$((i + 1))
done
seed language LangH "" "$data/Options/LangH.lan"
seed towns Towns 0 "$data/Towns/Towns.twn"
seed towns Foreign 1 "$data/Towns/TownsForeign1.twn"
seed towns User 2 "$data/Towns/TownsUser.twn"
seed zones Time 0 "$data/Towns/Time.ttt"
seed zones Hour_zone 1 "$data/Towns/Hour_zone.ttt"
for f in "$data"/Towns/*.zon; do seed zones "$(basename "$f" .zon)" 2 "$f"; done
for f in "$data"/Print/*.diz; do seed blanks "$(basename "$f")" "" "$f"; done
mkdir -p "$seeds/datainput"
printf '\x00%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s' 05 03 2001 '14h07m00s' '55:45:00' \
  '037:37:00' '03h00m00s' Moscow Russia '03h00m' >"$seeds/datainput/moscow"
printf '\x0f%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s\0%s' 31 12 44 '23h59m59s' '33:52:00' \
  '151:12:36' '10h30m00s' Sydney Australia '10h30m' >"$seeds/datainput/south"

for ext in qck:qck ddd:almagest zet:zet cat:skyworker ast:gemma bda:uranus; do
  seed "${ext#*:}" sample "" "$sample/sample.${ext%%:*}"
done

mkdir -p "$build/artifacts"
for h in "${harnesses[@]}"; do
  mkdir -p "$build/corpus/$h"
  echo "== fuzz_$h: ${seconds}s"
  # a towns file is sorted whole on every run: a hundred lines are enough
  max_len=65536
  [ "$h" = towns ] && max_len=8192
  # the harness's own exit status decides, not the filter of its output
  log=$build/fuzz_$h.log
  status=0
  "$build/fuzz/fuzz_$h" -max_total_time="$seconds" ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} -timeout=10 -rss_limit_mb=2048 \
    -max_len=$max_len -print_final_stats=1 -artifact_prefix="$build/artifacts/$h-" \
    "$build/corpus/$h" "$seeds/$h" >"$log" 2>&1 || status=$?
  grep -E "DONE|ERROR|invariant|SUMMARY|runtime error" "$log" || true
  [ "$status" -eq 0 ] || { echo "fuzz_$h failed (exit $status); see $log and $build/artifacts/"; exit 1; }
done
