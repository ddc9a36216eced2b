#!/usr/bin/env bash
# Deep nesting: the built tool on a program of a million opened statements
# and on one of two million, each followed by 1,516 main blocks (every
# stored line indented by millions of blanks), the runs taken in turn.
# The write is refused (structure.txt exists), so that only reading and
# translating count, not the disk taking hundreds of megabytes. Time that
# grows with the file gives a ratio near 2; with the square of the depth, 4.
# Usage: bench/deep.sh [tool] [runs, default 11]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$root/build-bench/tenapi_outline}")
runs=${2:-11}

work=$(mktemp -d "${TMPDIR:-/tmp}/tenapi-deep.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

deep() {
  head -n "$2" < <(yes '<statement name="DO">') > "$1"
  head -n 1516 < <(yes '<block type="mevok_main" id="x">') >> "$1"
}
deep deep.xml 1000000
deep deeper.xml 2000000
: > structure.txt

# Milliseconds of one refused analysis of file $1.
millis() {
  local start end
  start=$(date +%s%N)
  printf '1\n%s\n\nback\n0\n' "$1" | "$tool" > /dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

median() { sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'; }

: > deep.ms
: > deeper.ms
for _ in $(seq "$runs"); do
  millis deep.xml >> deep.ms
  millis deeper.xml >> deeper.ms
done
deep_ms=$(median < deep.ms)
deeper_ms=$(median < deeper.ms)
printf 'deep:    %s ms (1,000,000 statements); medians of %d runs taken in turn\n' "$deep_ms" "$runs"
printf 'deeper:  %s ms (2,000,000 statements)\n' "$deeper_ms"
printf 'ratio:   %.2f\n' "$(awk "BEGIN { print $deeper_ms / $deep_ms }")"
