#!/usr/bin/env bash
# torvane.exe under Wine in a terminal (tmux) of its own, as a double-click
# starts it on Windows: it ends with "Press any key to close this window."
# and waits until a key comes. Started from cmd, sharing its console, or
# with its output redirected, it ends without a word more.
#
#   tests/windows_console_wait.sh WINDOWS_BUILD_DIR   (WINEPREFIX set)
set -euo pipefail

build=$(realpath "$1")
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
work=$(mktemp -d /tmp/torvane-console.XXXXXX)
trap 'tmux kill-session -t torvane-console 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/torvane.exe" "$work/"
prompt="Press any key to close this window."
failures=0

# run NAME COMMAND: starts COMMAND in a fresh tmux terminal and waits up to
# 60 s for it to print "status N" or the prompt; prints what it showed.
run() {
  tmux kill-session -t torvane-console 2>/dev/null || true
  tmux new-session -d -s torvane-console -x 120 -y 20 \
    "cd '$work' && WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all $2; echo status \$?; sleep 600"
  for _ in $(seq 600); do
    screen=$(tmux capture-pane -p -t torvane-console)
    if grep -q "^status \|$prompt" <<<"$screen"; then break; fi
    sleep 0.1
  done
  printf '%s\n' "$screen" | grep -v '^$' | sed "s/^/  $1: /"
}
expect() {
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

run "own console" "$wine torvane.exe nothere"
expect "its own console asks for a key" 'grep -qx "$prompt" <<<"$screen" && ! grep -q "^status" <<<"$screen"'
sleep 1
screen=$(tmux capture-pane -p -t torvane-console)
expect "and waits for it" '! grep -q "^status" <<<"$screen"'
tmux send-keys -t torvane-console x
for _ in $(seq 100); do
  screen=$(tmux capture-pane -p -t torvane-console)
  grep -q "^status" <<<"$screen" && break
  sleep 0.1
done
printf '%s\n' "$screen" | grep -v '^$' | sed 's/^/  after a key: /'
expect "a key ends it with its status" 'grep -qx "status 254" <<<"$screen"'

run "from cmd" "$wine cmd /c torvane.exe nothere"
expect "from cmd it does not wait" 'grep -q "^status" <<<"$screen" && ! grep -q "$prompt" <<<"$screen"'
run "redirected" "$wine torvane.exe nothere >out.txt"
expect "redirected it does not wait" 'grep -q "^status" <<<"$screen" && ! grep -q "$prompt" <<<"$screen" && ! grep -q "$prompt" "$work/out.txt"'
exit $((failures > 0))
