#!/usr/bin/env bash
# Runs the tool in a real terminal as a person would: tmux, the menu and a
# whole analysis typed at the keyboard, the screen read back after each
# step. The screens must read as Japanese, and each must stand alone on a
# cleared screen. Then file names are typed as a learner types or drags
# them: Japanese and Korean names, and a quoted path with a blank; each
# must open, and structure.txt must land beside it.
# Usage: scripts/test-terminal.sh PROGRAM [ARGS...]   (e.g. wine64 tool.exe)
# TERMINAL_LANG sets the terminal's locale (default C.UTF-8); with
# ja_JP.UTF-8, wine gives the .exe a Japanese Windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM [ARGS...]" >&2; exit 2; }
program=("$@")
[[ ${program[0]} == */* ]] && program[0]=$(realpath "${program[0]}")
[[ ${program[-1]} == */* ]] && program[-1]=$(realpath "${program[-1]}")
# A Windows program takes a backslash as a folder separator.
windows=0
[[ ${program[-1]} == *.exe ]] && windows=1

export LANG=${TERMINAL_LANG:-C.UTF-8} LC_ALL=${TERMINAL_LANG:-C.UTF-8}
work=$(mktemp -d)
# Each start gets a tmux server of its own: killing the last session of a
# server makes it exit, and a session created on the same socket at that
# moment can land on the exiting server and vanish with it.
# Their sockets live in a folder of this run's, removed at the end.
sockets=$(mktemp -d)
runs=0
tmux() { command tmux -S "$sockets/$runs" "$@"; }
cleanup() {
  tmux kill-server 2>/dev/null || true
  rm -rf "$work" "$sockets"
}
trap cleanup EXIT

screen() { tmux capture-pane -p -t main; }

# Waits up to 60 s until the screen shows the text; fails showing it if not.
wait_for() {
  local shown
  for _ in $(seq 600); do
    shown=$(screen 2>&1) || { echo "the terminal is gone: $shown" >&2; exit 1; }
    if grep -qF -- "$1" <<<"$shown"; then return 0; fi
    sleep 0.1
  done
  echo "the terminal never showed: $1" >&2
  screen >&2
  exit 1
}

# Fails showing the screen when it holds the text.
absent() {
  if screen | grep -qF -- "$1"; then
    echo "the terminal still shows: $1" >&2
    screen >&2
    exit 1
  fi
}

# The name on disk of a path typed with backslashes.
native() {
  if [ "$windows" = 1 ]; then echo "${1//\\//}"; else echo "$1"; fi
}

# Starts the program in a new session, in the working folder.
start() {
  tmux kill-server 2>/dev/null || true
  runs=$((runs + 1))
  tmux -u new-session -d -s main -x 100 -y 30 -c "$work" "$command; sleep 30"
}

# Types `typed` at the file prompt for the input file `input` (typed
# form, without quotes) and checks that its outline lands in `folder`.
analyse() {
  local typed=$1 input=$2 folder=$3
  local source target
  source=$work/$(native "$input")
  target=$work/$(native "${folder}structure.txt")
  mkdir -p "$(dirname "$source")"
  cp "$root/examples/square.xml" "$source"
  rm -f "$target"
  start
  wait_for "   ⇒"
  tmux send-keys -t main 1 Enter
  wait_for "ファイルをドラッグしてください"
  tmux send-keys -t main -l "$typed"
  tmux send-keys -t main Enter
  wait_for "ファイルの作成が完了しました。"
  cmp "$target" "$root/examples/square.structure.txt"
  tmux send-keys -t main Enter
  echo "opened: $typed"
}

printf -v command '%q ' "${program[@]}"
if [ ! -c /dev/pts/ptmx ]; then
  echo "skipped: no pseudo-terminals here (/dev/pts is not mounted)"
  # Where TENAPI_NO_SKIP is set (CI), a skip is a failure.
  [ -z "${TENAPI_NO_SKIP:-}" ] || exit 1
  exit 77
fi
command -v tmux >/dev/null || { echo "needs tmux (sh scripts/setup.sh test)" >&2; exit 1; }
cp "$root/examples/square.xml" "$work/"
start

wait_for "***てなぴ解析システム***"
wait_for "   1:てなぴの解析"
wait_for "   0:終了"
wait_for "   数値を入力してください"
wait_for "   ⇒"
tmux send-keys -t main 1 Enter
wait_for "ファイルをドラッグしてください"
wait_for "「back」と入力した場合戻る"
absent "数値を入力してください"
tmux send-keys -t main square.xml Enter
wait_for "ファイルの作成が完了しました。"
wait_for "Enterを入力して終了"
absent "ファイルをドラッグしてください"
[ "$(grep -c '' <(screen | grep -F '***てなぴ解析システム***'))" = 1 ] ||
  { echo "more than one screen is showing" >&2; screen >&2; exit 1; }
cmp "$work/structure.txt" "$root/examples/square.structure.txt"
tmux send-keys -t main Enter
echo "screens read as Japanese in $LANG: ${program[*]}"

analyse '表示.xml' '表示.xml' ''
analyse '한국어\프로그램.xml' '한국어\프로그램.xml' '한국어\'
analyse '"my folder\ソース 1.xml"' 'my folder\ソース 1.xml' 'my folder\'
echo "terminal test passed: ${program[*]}"
