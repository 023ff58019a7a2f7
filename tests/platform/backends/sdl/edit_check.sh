#!/usr/bin/env bash
# End-to-end check in a real window: under Xvfb, start the edit-check program, click into its
# edit, type a word with xdotool, and check that the word arrived in the edit; turn the wheel
# a notch down over it and check that the form heard it. Then close the window as a user would
# and check that the program ends with the word.
#
#   edit_check.sh <edit-check program> [word]
#
# Exits 0 when the word arrived, 1 when it did not, and 77 (skipped) when xvfb-run, Xvfb or
# xdotool is missing or the X server cannot start.
set -u

if [[ ${1:-} == --inside ]]; then
  # ---- Runs on the Xvfb display ----
  touch "$WORK/started"
  source "$(dirname "$0")/../../../support/xvfb.sh"
  wait_for_display || { echo "FAIL: the X server does not answer"; exit 1; }
  unset WAYLAND_DISPLAY
  export SDL_VIDEODRIVER=x11
  # No session bus on this display: keep D-Bus from trying to launch one for SDL.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/plumb-bus
  fail() {
    echo "FAIL: $*"
    echo "--- program output:"; cat "$WORK/out.txt"
    echo "--- program errors:"; cat "$WORK/err.txt"
    stop
    exit 1
  }
  # Ends the program, by force when it does not end when asked.
  stop() {
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null
  }
  # Waits up to $2 seconds for a line matching $1 in the program's output.
  wait_for() {
    local deadline=$((SECONDS + $2))
    until grep -qx -- "$1" "$WORK/out.txt"; do
      ((SECONDS < deadline)) || return 1
      kill -0 "$pid" 2>/dev/null || return 1
      sleep 0.1
    done
  }

  : >"$WORK/out.txt"
  "$PROG" --timeout 60 --snapshot "$WORK/edit.png" >"$WORK/out.txt" 2>"$WORK/err.txt" &
  pid=$!
  wait_for 'ready [0-9]* [0-9]*' 20 || fail "the program did not start"
  read -r _ x y < <(grep -m1 '^ready ' "$WORK/out.txt")
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^PlumbGrid edit check$' | head -n1)
  [[ -n $wid ]] || fail "the window did not appear"
  timeout 10 xdotool windowfocus --sync "$wid" || fail "could not focus the window"
  timeout 10 xdotool mousemove --sync --window "$wid" "$x" "$y" click 1 ||
    fail "could not click into the edit"
  wait_for 'focus edit' 10 || fail "the click did not focus the edit"
  timeout 20 xdotool type --delay 30 "$WORD" || fail "xdotool could not type"
  wait_for "text: $WORD" 10 || fail "the word did not arrive"
  timeout 10 xdotool click 5 || fail "xdotool could not turn the wheel"
  wait_for "wheel -120" 10 || fail "the wheel did not arrive"
  # Closing: SDL turns the signal into a quit, the form closes, the loop ends.
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "the program did not end when asked to"
  fi
  wait "$pid"
  status=$?
  ((status == 0)) || fail "the program ended with status $status"
  grep -qx "final: $WORD" "$WORK/out.txt" || fail "the program ended with other text"
  [[ -n ${PLUMB_SNAPSHOT_DIR:-} ]] && cp "$WORK/edit.png" "$PLUMB_SNAPSHOT_DIR/" 2>/dev/null
  echo "PASS: typed \"$WORD\" into the edit"
  exit 0
fi

# ---- Sets up the display ----
PROG=${1:?usage: edit_check.sh <program> [word]}
WORD=${2:-plumbgrid}
[[ -x $PROG ]] || { echo "FAIL: no program at $PROG"; exit 1; }
source "$(dirname "$0")/../../../support/xvfb.sh"
require_tools xvfb-run Xvfb xauth xdotool timeout
export PROG WORD
run_inside_xvfb 120 640x480 "$0"
