#!/usr/bin/env bash
# Builds the Windows executable and its unit tests with mingw-w64, then runs
# both under wine as a Japanese Windows (code page 932): the unit tests, the
# end-to-end tests of the Linux build (build/) with the .exe as the program
# under test, and the .exe in a terminal, there, in another language and
# without cmd.exe. Checks its version information and manifest, makes the
# release zip, checks what it holds, and builds it again to compare.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINEDEBUG=-all
# A Japanese Windows: ANSI and console code page 932 (scripts/setup.sh
# generates the locale along with wine64).
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
locale -a | grep -qi '^ja_JP\.utf-\?8$' ||
  { echo "the ja_JP.UTF-8 locale is missing: sh scripts/setup.sh wine64" >&2; exit 1; }
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/tenapi-wine.XXXXXX)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "${again:-}"
}
trap cleanup EXIT

# The end-to-end tests themselves are built for Linux.
cmake --preset default
cmake --build --preset default
cmake --preset windows
cmake --build --preset windows
exe=$PWD/build-windows/tenapi_outline.exe

# Only Windows' own DLLs may be imported: the .exe must run on a bare system.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
for dll in $dlls; do
  case "$dll" in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | ucrtbase.dll | api-ms-win-*) ;;
    *) echo "unexpected DLL import: $dll" >&2; exit 1 ;;
  esac
done

# The version information (UTF-16 strings) and the manifest, read from the
# .exe's resource section.
resources=$(mktemp)
x86_64-w64-mingw32-objcopy -O binary --only-section=.rsrc "$exe" "$resources"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
strings16=$({ iconv -f UTF-16LE -t UTF-8 -c "$resources" || true; } | tr '\000-\037' '\n' | grep .)
for expected in "ProductName=てなぴ解析システム" "FileDescription=てなぴ解析システム" \
  "FileVersion=$version" "ProductVersion=$version"; do
  value=$(awk -v key="${expected%%=*}" 'found { print; exit } $0 == key { found = 1 }' <<<"$strings16")
  [ "$value" = "${expected#*=}" ] ||
    { echo "the version information has ${expected%%=*} '$value', not '${expected#*=}'" >&2; exit 1; }
done
for expected in 'level="asInvoker"' '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>' \
  '<longPathAware' '>true</longPathAware>'; do
  grep -qaF -- "$expected" "$resources" || { echo "the manifest lacks: $expected" >&2; exit 1; }
done
if grep -qaF activeCodePage "$resources"; then
  echo "the manifest must not set activeCodePage" >&2
  exit 1
fi
rm -f "$resources"
echo "version information and manifest: ok ($version)"

# A persistent server keeps each start of wine quick; its output goes
# nowhere, so it does not hold this script's output open. The first start
# then sets up the prefix, which takes several seconds.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

# The unit tests, through ctest, which runs them under wine.
ctest --preset windows </dev/null

# Output that is not a console is cleared with a form feed, as "cls" clears
# it, and each line feed arrives as CR LF. Left out: the tests that limit or
# trace the Linux program, and the one of a Linux terminal's encoding (the
# .exe meets terminals in the tests below).
TENAPI_WRAPPER="$wine" TENAPI_PROGRAM="$exe" TENAPI_WINDOWS=1 TENAPI_CLEAR=$'\f' \
  build/tests/tenapi_e2e --gtest_filter=-E2e.LineLargerThanMemory:E2e.EveryIoFaultEndsAsDesigned:E2e.TerminalGetsTheScreensInItsEncoding </dev/null

# In a terminal as a Japanese Windows, and as a Windows set up for another
# language (console code page 437), where Japanese and Korean names typed
# at the prompt must open as well.
TERMINAL_LANG=ja_JP.UTF-8 bash scripts/test-terminal.sh "$wine" "$exe"
TERMINAL_LANG=C.UTF-8 bash scripts/test-terminal.sh "$wine" "$exe"
# And on a school PC that forbids the command interpreter: each screen must
# still start on a cleared window.
rm "$WINEPREFIX/drive_c/windows/system32/cmd.exe"
if "$wine" cmd /c exit </dev/null >/dev/null 2>&1; then echo "cmd.exe still runs" >&2; exit 1; fi
TERMINAL_LANG=ja_JP.UTF-8 bash scripts/test-terminal.sh "$wine" "$exe"

# The release zip: the .exe, the usage text and the licence, and nothing
# else, with its sum beside it.
cmake --build --preset windows-zip
folder=tenapi_outline-$version-windows
listing=$(unzip -Z1 "build-windows/$folder.zip")
echo "build-windows/$folder.zip holds:"
echo "$listing"
# At its top level, so that "Extract all" gives one folder with the .exe.
[ "$listing" = "$(printf '%s\n' LICENSE README-ja.txt tenapi_outline.exe)" ] ||
  { echo "the zip should hold exactly the .exe, README-ja.txt and LICENSE, at its top level" >&2; exit 1; }
(cd build-windows && sha256sum -c "$folder.zip.sha256")
# The commit built twice, each from a clean clone of it (whatever the
# working tree holds), under two umasks and time zones: the same bytes.
again=$(mktemp -d /tmp/tenapi-again.XXXXXX)
for run in 022:UTC 077:Asia/Tokyo; do
  git clone -q . "$again/${run%:*}"
  (cd "$again/${run%:*}" && umask "${run%:*}" && export TZ="${run#*:}" && cmake --preset windows -DTENAPI_TESTS=OFF &&
    cmake --build --preset windows-zip) >/dev/null
done
cmp "$again/022/build-windows/$folder.zip" "$again/077/build-windows/$folder.zip"
echo "built twice, the same bytes: $(cat "$again/022/build-windows/$folder.zip.sha256")"
