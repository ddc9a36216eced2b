#!/usr/bin/env bash
# Builds the Windows executable and its unit tests with mingw-w64, then runs
# both under wine: the unit tests, the end-to-end tests of the Linux build
# (build/) with the .exe as the program under test, and the .exe in a real
# terminal. Last, makes the release zip and checks what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
export WINEDEBUG=-all
export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/tenapi-wine.XXXXXX)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
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

# A persistent server keeps each start of wine quick; its output goes
# nowhere, so it does not hold this script's output open. The first start
# then sets up the prefix, which takes several seconds.
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

"$wine" build-windows/tests/tenapi_tests.exe </dev/null

# Under wine with piped output, "cls" writes nothing and each line feed
# arrives as CR LF.
TENAPI_WRAPPER="$wine" TENAPI_PROGRAM="$exe" TENAPI_WINDOWS=1 TENAPI_CLEAR= \
  build/tests/tenapi_e2e </dev/null

# In a terminal whose encoding is not code page 932, as on a Windows set
# up for another language.
bash scripts/test-terminal.sh "$wine" "$exe"

# The release zip: the .exe and the usage text, and nothing else.
cpack --preset windows
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
folder=tenapi_outline-$version-windows
listing=$(cmake -E tar tf "build-windows/$folder.zip" | sort)
echo "build-windows/$folder.zip holds:"
echo "$listing"
expected=$(printf '%s\n' "$folder/README-ja.txt" "$folder/tenapi_outline.exe")
[ "$listing" = "$expected" ] ||
  { echo "the zip should hold exactly the .exe and README-ja.txt" >&2; exit 1; }
