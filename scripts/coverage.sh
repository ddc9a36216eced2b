#!/usr/bin/env bash
# Which product lines and functions the tests run: builds the coverage
# preset, runs the tests (further arguments go to ctest; "-L e2e" runs the
# end-to-end tests alone, which shows what the tool itself runs), and
# prints gcovr's summary by file, then every product function never run.
# Needs gcovr (apt-get install gcovr).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v gcovr >/dev/null || { echo "needs gcovr (apt-get install gcovr)" >&2; exit 1; }
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build-coverage -name '*.gcda' -delete
ctest --preset coverage "$@"
filters=(--root . --filter 'app/' --filter 'console/' --filter 'output/' --filter 'translate/'
  --exclude '.*_test\.cc' --object-directory build-coverage
  --exclude-directories 'build-coverage/CMakeFiles')
gcovr "${filters[@]}" --txt -s
# Product functions that no test ran.
gcovr "${filters[@]}" --json - | grep -o '"execution_count": 0, "lineno": [0-9]*, "name": "[^"]*"' |
  sed 's/.*"lineno": \([0-9]*\), "name": "\(.*\)"/never run: \2 (line \1)/' || true
