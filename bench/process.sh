#!/usr/bin/env bash
# Whole-process benchmark: the built tool through its normal dialogue on
# 100 MiB of saved programs as the editor writes them (bench/make_programs:
# many different programs, indented, with ids, variables, values, shadows
# and nested statements), against `wc -l` on the same file and, when
# BASELINE names another build of the tool, against that build, the runs
# taken in turn. With WEB naming the browser edition's core
# (build-web/web/tenapi_core.js), that core under Node on the same bytes in
# memory. Then peak memory on 1 MiB and 1 GiB of such input.
# Usage: bench/process.sh [tool] [megabytes, default 100] [runs, default 11]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$root/build-bench/tenapi_outline}")
mb=${2:-100}
runs=${3:-11}
baseline=${BASELINE:+$(realpath "$BASELINE")}
web=${WEB:+$(realpath "$WEB")}
make_programs=$root/build-bench/bench/make_programs
command -v /usr/bin/time >/dev/null || { echo "needs GNU time (apt-get install time)" >&2; exit 1; }
[ -x "$make_programs" ] || { echo "build the bench preset first" >&2; exit 1; }

# TMPDIR=/dev/shm keeps input and output in memory, where a flush costs nothing.
work=$(mktemp -d "${TMPDIR:-/tmp}/tenapi-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# Milliseconds of one run of a command, its input from file $2 (or none).
millis() {
  rm -f structure.txt
  local start end
  start=$(date +%s%N)
  if [ -n "$2" ]; then "$1" < "$2" > /dev/null; else $1 > /dev/null; fi
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

median() { sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'; }

peak_kib() {
  rm -f structure.txt
  printf '1\n%s\n\n' "$1" | /usr/bin/time -f %M "$tool" 2>&1 > /dev/null | tail -n 1
}

"$make_programs" "$mb" > big.xml
bytes=$(stat -c %s big.xml)
printf '1\nbig.xml\n\n' > answers
cat big.xml > /dev/null  # into the page cache for every contestant
: > tool.ms
: > base.ms
: > wc.ms
for _ in $(seq "$runs"); do
  millis "$tool" answers >> tool.ms
  [ -z "$baseline" ] || millis "$baseline" answers >> base.ms
  millis "wc -l big.xml" "" >> wc.ms
done
tool_ms=$(median < tool.ms)
wc_ms=$(median < wc.ms)
mbs() { awk "BEGIN { printf \"%.0f\", $bytes / $1 / 1000 }"; }
printf 'input:        %d bytes, %d lines; medians of %d runs taken in turn\n' \
  "$bytes" "$(wc -l < big.xml)" "$runs"
printf 'tool:         %s ms, %s MB/s, %.1f x wc -l\n' "$tool_ms" "$(mbs "$tool_ms")" \
  "$(awk "BEGIN { print $tool_ms / $wc_ms }")"
if [ -n "$baseline" ]; then
  base_ms=$(median < base.ms)
  printf 'baseline:     %s ms, %s MB/s, %.1f x wc -l\n' "$base_ms" "$(mbs "$base_ms")" \
    "$(awk "BEGIN { print $base_ms / $wc_ms }")"
  printf 'speed-up:     %.2f x the baseline\n' "$(awk "BEGIN { print $base_ms / $tool_ms }")"
fi
if [ -n "$web" ]; then
  web_ms=$(node --no-experimental-fetch "$root/bench/web.mjs" core "$web" big.xml "$runs")
  printf 'web core:     %s ms, %s MB/s, %.2f x the tool'"'"'s throughput\n' "$web_ms" "$(mbs "$web_ms")" \
    "$(awk "BEGIN { print $tool_ms / $web_ms }")"
fi
printf 'wc -l:        %s ms\n' "$wc_ms"
printf 'peak memory:  %d KiB on %d MiB\n' "$(peak_kib big.xml)" "$mb"
rm -f big.xml

if [ "${BENCH_SKIP_GB:-}" = "" ]; then
  "$make_programs" 1 > small.xml
  "$make_programs" 1024 > huge.xml
  printf 'peak memory:  %d KiB on 1 MiB, %d KiB on 1 GiB\n' "$(peak_kib small.xml)" "$(peak_kib huge.xml)"
fi
