#!/usr/bin/env bash
# Builds the browser edition, runs the fast tests of its JavaScript under
# Node, and tests it in headless Chromium and Firefox
# and in WebKitGTK (under xvfb-run), from the file and as the site served
# from localhost: each page's saved files must hold the bytes that the
# console tool writes for the same inputs. Then makes the release's page
# and site zip with their sums, and builds them from two clean clones of
# HEAD to compare. Needs what "sh scripts/setup.sh test web" installs.
set -euo pipefail
cd "$(dirname "$0")/.."
# The browsers take file names in the locale's encoding; one case has a
# Japanese name.
export LC_ALL=C.UTF-8

cmake --preset release >/dev/null
cmake --build --preset release
cmake --preset web >/dev/null
cmake --build --preset web-release
# The pages' pure logic under Node, in a second.
ctest --preset web
# The core's WebAssembly has no tag section (id 13), the mark of native
# exceptions, which Safari 26.0 runs wrongly.
node -e "const w = Buffer.from(/base64,([\w+\/=]+)/.exec(require('fs').readFileSync(process.argv[1], 'latin1'))[1], 'base64');
  for (let at = 8, size = 0, shift = 0, id; at < w.length; at += size, size = shift = 0) {
    id = w[at++];
    do { size += (w[at] & 127) * 2 ** shift; shift += 7; } while (w[at++] & 128);
    if (id === 13) throw new Error('the core has a tag section: native WebAssembly exceptions');
  }" build-web/web/tenapi_core.js
(cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund)

# The inputs: the examples, the saved programs of the tests, and files that
# no editor wrote; each with what the console tool writes for it.
cases=build-web/cases big=build-web/big again=""
rm -rf "$cases" "$big"
# The large files go whatever ends the run.
trap 'rm -rf "$big" $again' EXIT
mkdir -p "$cases" "$big"
cp examples/*.xml tests/programs/*.xml "$cases/"
cp examples/square.xml "$cases/たろう.xml"
: >"$cases/empty.xml"
printf '<block type="mevok_main" id="m">\n\032<block type="mevok_forward" id="f">\n' >"$cases/ctrl_z.xml"
sed 's/$/\r/' examples/square.xml >"$cases/crlf.xml"
for _ in $(seq 300); do echo '<block type="mevok_main" id="m">'; done >"$cases/many.xml"
head -n 198 "$cases/many.xml" >"$cases/full.xml"
{ printf '<block type="mevok_forward" id="f">\n<field name="N">'; head -c 300000 /dev/zero | tr '\0' x
  printf '</field>\n'; } >"$cases/long_line.xml"
# yes ends on a broken pipe; the size says whether the gigabyte was written.
yes "$(cat examples/square.xml)" | head -c 1G >"$big/huge.xml" || true
[ "$(stat -c %s "$big/huge.xml")" = 1073741824 ]
# One line larger than the page's memory, costing no disk; a deep program
# whose structure.txt takes 396 MB, and one whose would take more than the
# page offers.
truncate -s 513M "$big/line.xml"
for depth in 1000000:deep 1400000:toodeep; do
  awk -v n="${depth%:*}" 'BEGIN { for (i = 0; i < n; i++) print "<statement name=\"DO\">"
    for (i = 0; i < 1516; i++) print "<block type=\"mevok_main\" id=\"x\">" }' >"$big/${depth#*:}.xml"
done
outline() {
  local folder
  folder=$(mktemp -d)
  (cd "$folder" && printf '1\n%s\n\n' "$1" | "$OLDPWD/build-release/tenapi_outline" >/dev/null)
  mv "$folder/structure.txt" "$1.structure"
  rmdir "$folder"
}
for file in "$cases"/*.xml "$big/huge.xml" "$big/deep.xml"; do outline "$PWD/$file"; done

cd web
node test.mjs chromium "../$cases" "../$big"
node test.mjs firefox "../$cases"
xvfb-run -a -s '-screen 0 1920x1080x24' node test.mjs webkit "../$cases"
cd ..
echo "browser tests passed; screenshots: build-web/screenshot-*.png"

release=tenapi_outline-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-web/CMakeCache.txt)
page=$release.html site=$release-site.zip
ls -l "build-web/$page" "build-web/$site" build-web/site
(cd build-web && sha256sum -c "$page.sha256" "$site.sha256")
# The site zip holds the site's files in one folder, tenapi_outline/.
[ "$(unzip -Z1 "build-web/$site")" = "$(cd build-web/site && LC_ALL=C ls | sed 's|^|tenapi_outline/|')" ]
# The commit built twice, each from a clean clone of it (whatever the
# working tree holds), under two umasks: the same bytes.
again=$(mktemp -d)
for mask in 022 077; do
  git clone -q . "$again/$mask"
  (cd "$again/$mask" && umask $mask && cmake --preset web && cmake --build --preset web-release) >/dev/null
done
for file in "$page" "$site"; do
  cmp "$again/022/build-web/$file" "$again/077/build-web/$file"
  echo "built twice, the same bytes: $(cat "$again/022/build-web/$file.sha256")"
done
