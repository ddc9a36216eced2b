#!/bin/sh
# Installs what this machine lacks to build the tool ("sh scripts/setup.sh")
# or to build and test it ("sh scripts/setup.sh test"); with "web", what
# building the browser edition needs, and with "test web" what testing it
# in real browsers needs; and any further Debian packages named after
# that. With wine64 among them, also the Japanese locale, under which wine
# runs the .exe as a Japanese Windows. Uses apt-get (Debian, Ubuntu) as
# root or through sudo; elsewhere it names the packages to install.
set -eu

packages="cmake ninja-build g++"
test=no web=no
while [ $# -gt 0 ]; do
  case $1 in
    test) test=yes ;;
    web) web=yes ;;
    *) break ;;
  esac
  shift
done
[ "$test" = no ] || packages="$packages libgtest-dev tmux strace"
[ "$web" = no ] || packages="$packages emscripten nodejs zip"
# xvfb only recommends xauth, which xvfb-run needs; without fonts-noto-cjk
# the page's screenshots show empty boxes; zip makes a class's zip and
# poppler-utils reads the printed sheet back.
[ "$test$web" != yesyes ] ||
  packages="$packages npm chromium firefox-esr webkit2gtk-driver xvfb xauth fonts-noto-cjk unzip zip poppler-utils"
packages="$packages $*"
japanese=no
case " $packages " in *" wine64 "*) japanese=yes packages="$packages locales" ;; esac

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  # Not Debian or Ubuntu: check the main commands, and say what to get.
  if command -v cmake >/dev/null 2>&1 && command -v ninja >/dev/null 2>&1 &&
    command -v c++ >/dev/null 2>&1; then
    exit 0
  fi
  echo "Please install these (Debian names; your system's may differ): $packages" >&2
  exit 1
fi

missing=""
for package in $packages; do
  # Node.js and npm from elsewhere (such as NodeSource's, which holds npm) serve as well.
  case $package in nodejs | npm) command -v "${package%js}" >/dev/null 2>&1 && continue ;; esac
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
    missing="$missing $package"
done
need_locale=no
if [ "$japanese" = yes ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  need_locale=yes
fi
[ -z "$missing" ] && [ "$need_locale" = no ] && exit 0

if [ "$(id -u)" = 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root=sudo
else
  echo "Installing$missing needs root: run this as root, or install them yourself." >&2
  exit 1
fi
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $as_root apt-get update -q
  # shellcheck disable=SC2086
  $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi
if [ "$need_locale" = yes ]; then
  echo "Generating the ja_JP.UTF-8 locale"
  $as_root sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
    echo 'ja_JP.UTF-8 UTF-8' | $as_root tee -a /etc/locale.gen >/dev/null
  $as_root locale-gen
fi
