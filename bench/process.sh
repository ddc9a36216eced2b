#!/usr/bin/env bash
# Whole-process benchmark: the built tool on a large realistic input made
# by repeating the example program, through its normal dialogue, against
# `wc -l` on the same file; then peak memory on 1 MB and 1 GB inputs.
# Usage: bench/process.sh [tool] [megabytes, default 100] [runs, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$root/build/tenapi_outline}")
mb=${2:-100}
runs=${3:-5}
command -v /usr/bin/time >/dev/null || { echo "needs GNU time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d /tmp/tenapi-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Repeats the example program (and a line end) to exactly $2 MiB.
make_input() {
  local name=$1 mib=$2
  { cat "$root/examples/square.xml"; echo; } > piece
  while [ "$(stat -c %s piece)" -lt 1048576 ]; do cat piece piece > twice; mv twice piece; done
  : > "$name"
  for _ in $(seq "$mib"); do cat piece >> "$name"; done
  truncate -s "$((mib * 1048576))" "$name"
}

# Seconds of one run of the tool on $1, through the menu and file prompt.
time_tool() {
  rm -f structure.txt
  local start end
  start=$(date +%s.%N)
  printf '1\n%s\n\n' "$1" | "$tool" > /dev/null
  end=$(date +%s.%N)
  awk "BEGIN { print $end - $start }"
}

time_wc() {
  local start end
  start=$(date +%s.%N)
  wc -l "$1" > /dev/null
  end=$(date +%s.%N)
  awk "BEGIN { print $end - $start }"
}

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

peak_kib() {
  rm -f structure.txt
  printf '1\n%s\n\n' "$1" | /usr/bin/time -f %M "$tool" 2>&1 > /dev/null | tail -n 1
}

make_input big.xml "$mb"
bytes=$(stat -c %s big.xml)
cat big.xml > /dev/null  # into the page cache for both contestants
tool_s=$(for _ in $(seq "$runs"); do time_tool big.xml; done | median)
wc_s=$(for _ in $(seq "$runs"); do time_wc big.xml; done | median)
printf 'input:        %d bytes (%d MiB), median of %d runs\n' "$bytes" "$mb" "$runs"
printf 'tool:         %.3f s, %.1f MB/s\n' "$tool_s" "$(awk "BEGIN { print $bytes / $tool_s / 1000000 }")"
printf 'wc -l:        %.3f s\n' "$wc_s"
printf 'ratio:        %.1f x wc -l\n' "$(awk "BEGIN { print $tool_s / $wc_s }")"
printf 'peak memory:  %d KiB on %d MiB\n' "$(peak_kib big.xml)" "$mb"
rm -f big.xml

if [ "${BENCH_SKIP_GB:-}" = "" ]; then
  make_input small.xml 1
  make_input huge.xml 1024
  printf 'peak memory:  %d KiB on 1 MiB, %d KiB on 1 GiB\n' "$(peak_kib small.xml)" "$(peak_kib huge.xml)"
fi
