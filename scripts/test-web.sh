#!/usr/bin/env bash
# Builds the browser edition and tests it in headless Chromium and Firefox
# and in WebKitGTK (under xvfb-run): each page's saved files must hold the
# bytes that the console tool writes for the same inputs. Then makes the
# release's copy of the page with its sum, and builds it again from a clean
# clone to compare. Needs what "sh scripts/setup.sh test web" installs.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release
cmake --preset web >/dev/null
cmake --build --preset web-release
(cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund)

# The inputs: the examples, the saved programs of the tests, and files that
# no editor wrote; each with what the console tool writes for it.
cases=build-web/cases big=build-web/big
rm -rf "$cases" "$big"
mkdir -p "$cases" "$big"
cp examples/*.xml tests/programs/*.xml "$cases/"
: >"$cases/empty.xml"
printf '<block type="mevok_main" id="m">\n\032<block type="mevok_forward" id="f">\n' >"$cases/ctrl_z.xml"
sed 's/$/\r/' examples/square.xml >"$cases/crlf.xml"
for _ in $(seq 300); do echo '<block type="mevok_main" id="m">'; done >"$cases/many.xml"
{ printf '<block type="mevok_forward" id="f">\n<field name="N">'; head -c 300000 /dev/zero | tr '\0' x
  printf '</field>\n'; } >"$cases/long_line.xml"
# yes ends on a broken pipe; the size says whether the gigabyte was written.
yes "$(cat examples/square.xml)" | head -c 1G >"$big/huge.xml" || true
[ "$(stat -c %s "$big/huge.xml")" = 1073741824 ]
outline() {
  local folder
  folder=$(mktemp -d)
  (cd "$folder" && printf '1\n%s\n\n' "$1" | "$OLDPWD/build-release/tenapi_outline" >/dev/null)
  mv "$folder/structure.txt" "$1.structure"
  rmdir "$folder"
}
for file in "$cases"/*.xml "$big/huge.xml"; do outline "$PWD/$file"; done

cd web
node test.mjs chromium "../$cases" "../$big"
node test.mjs firefox "../$cases"
xvfb-run -a -s '-screen 0 1920x1080x24' node test.mjs webkit "../$cases"
rm -rf "../$big"
cd ..
echo "browser tests passed; screenshots: build-web/screenshot-*.png"

page=tenapi_outline-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-web/CMakeCache.txt).html
ls -l "build-web/$page"
(cd build-web && sha256sum -c "$page.sha256")
[ -z "$(git status --porcelain)" ] || { echo "not built twice: uncommitted changes"; exit 0; }
again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
git clone -q . "$again"
(cd "$again" && umask 077 && cmake --preset web && cmake --build --preset web-release) >/dev/null
cmp "build-web/$page" "$again/build-web/$page"
echo "built twice, the same bytes: $(cat "build-web/$page.sha256")"
