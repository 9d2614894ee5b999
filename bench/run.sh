#!/usr/bin/env bash
# Times odrim against iconv and uconv on the same conversions and prints one
# table: median wall time of several runs, peak resident memory, and odrim's
# ratio to each peer. Console output of every command goes to a file.
#
# Usage: bench/run.sh [SIZE_MB] [RUNS]     (defaults 100 and 5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
size=${1:-100}
runs=${2:-5}
odrim=${ODRIM:-$root/build/odrim}
work=$(mktemp -d "${TMPDIR:-/tmp}/odrim-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

for tool in iconv uconv /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "needs $tool (make bench-deps)"; exit 1; }
done
[ -x "$odrim" ] || { echo "build odrim first (make)"; exit 1; }

echo "generating ${size} MB corpora in $work ..."
python3 "$here/make_corpus.py" "$work" "$size"
head -c 1000 "$work/trad.936" > "$work/small.936"

# Median wall seconds and the peak RSS (KiB) of that run, over $runs runs.
measure() {
  local results=() start end
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME
    /usr/bin/time -f "%M" -o "$work/time" sh -c "$1" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    results+=("$(echo "$end - $start" | bc -l) $(tail -n 1 "$work/time")")
  done
  printf '%s\n' "${results[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

printf '\n%-28s %-7s %9s %10s %8s\n' "conversion" "tool" "wall s" "peak MiB" "odrim/x"
row() { # name, odrim command, iconv command, uconv command
  local name=$1
  read -r ow om <<<"$(measure "$2")"
  printf '%-28s %-7s %9.4f %10.1f %8s\n' "$name" odrim "$ow" "$(echo "$om / 1024" | bc -l)" ""
  for peer in iconv uconv; do
    local command=$3
    [ "$peer" = uconv ] && command=$4
    read -r pw pm <<<"$(measure "$command")"
    ratio=$(echo "if ($pw > 0) $ow / $pw else 0" | bc -l)
    printf '%-28s %-7s %9.4f %10.1f %8.2f\n' "" "$peer" "$pw" "$(echo "$pm / 1024" | bc -l)" "$ratio"
  done
}

c="$work/console.txt"
row "936 to 950, traditional" \
  "$odrim $work/trad.936 936 $work/out 950 > $c" \
  "iconv -f GBK -t BIG5 -c $work/trad.936 > $work/out" \
  "uconv -f windows-936-2000 -t windows-950-2000 --callback substitute $work/trad.936 > $work/out"
row "1200 to 936, traditional" \
  "$odrim $work/trad.utf16 1200 $work/out 936 > $c" \
  "iconv -f UTF-16LE -t GBK -c $work/trad.utf16 > $work/out" \
  "uconv -f UTF-16LE -t windows-936-2000 --callback substitute $work/trad.utf16 > $work/out"
row "1252 to 437, Western" \
  "$odrim $work/west.1252 1252 $work/out 437 > $c" \
  "iconv -f CP1252 -t CP437 -c $work/west.1252 > $work/out" \
  "uconv -f ibm-5348_P100-1997 -t ibm-437_P100-1995 --callback substitute $work/west.1252 > $work/out"
row "65001 to 936, traditional" \
  "$odrim $work/trad.utf8 65001 $work/out 936 > $c" \
  "iconv -f UTF-8 -t GBK -c $work/trad.utf8 > $work/out" \
  "uconv -f UTF-8 -t windows-936-2000 --callback substitute $work/trad.utf8 > $work/out"
row "936 to 65001, traditional" \
  "$odrim $work/trad.936 936 $work/out 65001 > $c" \
  "iconv -f GBK -t UTF-8 -c $work/trad.936 > $work/out" \
  "uconv -f windows-936-2000 -t UTF-8 --callback substitute $work/trad.936 > $work/out"
row "936 to 950, simplified" \
  "$odrim $work/simp.936 936 $work/out 950 > $c" \
  "iconv -f GBK -t BIG5 -c $work/simp.936 > $work/out" \
  "uconv -f windows-936-2000 -t windows-950-2000 --callback substitute $work/simp.936 > $work/out"
row "936 to 950, 1 KB (start-up)" \
  "$odrim $work/small.936 936 $work/out 950 > $c" \
  "iconv -f GBK -t BIG5 -c $work/small.936 > $work/out" \
  "uconv -f windows-936-2000 -t windows-950-2000 --callback substitute $work/small.936 > $work/out"
