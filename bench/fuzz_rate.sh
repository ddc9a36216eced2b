#!/usr/bin/env bash
# Inputs a second of the libFuzzer target against another build of it, in
# alternating rounds from the same seed corpus and a fresh working corpus
# each, one run at a time: the medians, and their ratio.
# Usage: bench/fuzz_rate.sh BASELINE_FUZZER [fuzzer] [seconds, default 15] [rounds, default 3]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
baseline=$(realpath "$1")
fuzzer=$(realpath "${2:-$root/build-fuzz/fuzz/pipeline_fuzz}")
seconds=${3:-15}
rounds=${4:-3}

work=$(mktemp -d "${TMPDIR:-/tmp}/tenapi-fuzz-rate.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The average inputs a second of one round of fuzzer $1.
rate() {
  rm -rf "$work/corpus"
  mkdir "$work/corpus"
  "$1" -max_total_time="$seconds" -print_final_stats=1 -seed=1 -artifact_prefix="$work/" \
    "$work/corpus" "$root/fuzz/corpus" 2>&1 | sed -n 's/^stat::average_exec_per_sec: *//p'
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: > "$work/base"
: > "$work/tool"
for round in $(seq "$rounds"); do
  rate "$baseline" >> "$work/base"
  rate "$fuzzer" >> "$work/tool"
  echo "round $round: baseline $(tail -n 1 "$work/base"), this build $(tail -n 1 "$work/tool")"
done
base=$(median < "$work/base")
tool=$(median < "$work/tool")
printf 'medians: baseline %s, this build %s inputs a second: %.2f x\n' "$base" "$tool" \
  "$(awk "BEGIN { print $tool / $base }")"
