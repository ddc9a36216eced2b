#!/usr/bin/env bash
# Builds the libFuzzer target, replays the seed corpus and every saved
# regression input, then fuzzes for a bounded time (seconds, default 60).
# Usage: scripts/fuzz.sh [seconds] [extra libFuzzer flags...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

cmake --preset fuzz
cmake --build --preset fuzz
fuzzer=build-fuzz/fuzz/pipeline_fuzz

# Every saved input once (loading a corpus runs each input): a regression
# fails here before any fuzzing.
"$fuzzer" -runs=0 fuzz/corpus fuzz/regressions

# New inputs go into a working corpus outside the repository; a crashing
# input is written to build-fuzz/ under the name libFuzzer prints.
work=build-fuzz/corpus-work
mkdir -p "$work"
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build-fuzz/ \
  "$@" "$work" fuzz/corpus
