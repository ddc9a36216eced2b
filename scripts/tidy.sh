#!/usr/bin/env bash
# clang-tidy over the product's sources with the checks in .clang-tidy; any
# finding fails. The POSIX files as built by the tidy preset (clang++), the
# -win32 files parsed for a Windows target with mingw-w64's headers where
# those are installed, and the page's core for WebAssembly with
# Emscripten's headers where those are.
set -euo pipefail
command -v run-clang-tidy >/dev/null || { echo "needs clang-tidy: sh scripts/setup.sh clang-tidy" >&2; exit 1; }
cd "$(dirname "$0")/.."

# Only the compile commands are needed: no file is generated.
cmake --preset tidy >/dev/null
product=(analysis app console input output translate utf16)
posix=$(find "${product[@]}" -name '*.cc' ! -name '*_test.cc' ! -name '*-win32.cc' ! -path 'utf16/*' | sort)
echo "clang-tidy:" $posix
# The files in parallel; any finding, or a file that does not parse, fails.
# shellcheck disable=SC2046
run-clang-tidy -quiet -j "$(nproc)" -p build-tidy $(printf '%s$ ' $posix) > >(grep -v "^clang-tidy") \
  2> >(grep -v "warnings generated" >&2)

if command -v x86_64-w64-mingw32-g++ >/dev/null; then
  # The C++ headers of mingw-w64's g++, which clang does not find itself.
  includes=$(echo | x86_64-w64-mingw32-g++ -E -x c++ - -v 2>&1 |
    sed -n '/<...> search starts here/,/End of search list/s|^ \(.*/c++.*\)|-isystem \1|p')
  windows=$(find "${product[@]}" -name '*-win32.cc' | sort; echo utf16/utf16.cc)
  echo "clang-tidy for Windows:" $windows
  for file in $windows; do
    # shellcheck disable=SC2086
    clang-tidy --quiet "$file" -- -std=c++17 --target=x86_64-w64-mingw32 -nostdinc++ $includes -I. \
      2> >(grep -v "warnings generated" >&2)
  done
fi
sysroot=/usr/share/emscripten/cache/sysroot
if [ -d "$sysroot" ]; then
  echo "clang-tidy for WebAssembly: web/core/core.cc"
  clang-tidy --quiet web/core/core.cc -- -std=c++17 --target=wasm32-unknown-emscripten --sysroot="$sysroot" \
    -DEMSCRIPTEN -D_LIBCPP_ABI_VERSION=2 -I. 2> >(grep -v "warnings generated" >&2)
elif [ -n "${TENAPI_NO_SKIP:-}" ]; then
  echo "clang-tidy: no Emscripten headers for web/core/core.cc" >&2
  exit 1
fi
echo "clang-tidy: no findings"
