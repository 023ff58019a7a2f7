#!/usr/bin/env bash
# End to end, the real demo in its real window under Xvfb, driven by real X input: choose a
# customer in the list, open the editor on the Name row, type a new name, move to another
# customer (which posts it), take a screenshot of the window and close it as a user would.
# Then the database file, read directly with sqlite3, must hold the new name, and the
# screenshot must show the form (not a blank or black window).
#
#   demo_check.sh <demo program> <xwd-check program>
#
# Exits 0 when all of that held, 1 when it did not, and 77 (skipped) when xvfb-run, Xvfb,
# xdotool, xwd or sqlite3 is missing or the X server cannot start.
set -u

if [[ ${1:-} == --inside ]]; then
  # ---- Runs on the Xvfb display ----
  touch "$WORK/started"
  source "$(dirname "$0")/../../support/xvfb.sh"
  wait_for_display || { echo "FAIL: the X server does not answer"; exit 1; }
  unset WAYLAND_DISPLAY
  export SDL_VIDEODRIVER=x11 XDG_DATA_HOME="$WORK/data"
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/plumb-bus
  fail() {
    echo "FAIL: $*"
    echo "--- program output:"; cat "$WORK/out.txt"
    echo "--- program errors:"; cat "$WORK/err.txt"
    kill -KILL "$pid" 2>/dev/null
    exit 1
  }
  wait_for() {
    local deadline=$((SECONDS + $2))
    until grep -q -- "$1" "$WORK/out.txt"; do
      ((SECONDS < deadline)) || return 1
      kill -0 "$pid" 2>/dev/null || return 1
      sleep 0.1
    done
  }
  # A click at a point of the window, and the time a user takes before the next one (a second
  # click on the same spot sooner would be a double click).
  click() {
    timeout 10 xdotool mousemove --sync --window "$wid" "$1" "$2" click 1 || fail "could not click at $1,$2"
    sleep 0.7
  }

  : >"$WORK/out.txt"
  "$DEMO" --report >"$WORK/out.txt" 2>"$WORK/err.txt" &
  pid=$!
  wait_for '^ready ' 30 || fail "the demo did not start"
  read -r _ _ lx ly lh _ gx gy gh < <(grep -m1 '^ready ' "$WORK/out.txt")
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name 'PlumbGrid.*Customers' | head -n1)
  [[ -n $wid ]] || fail "the window did not appear"
  timeout 10 xdotool windowfocus --sync "$wid" || fail "could not focus the window"
  click "$lx" $((ly + 4 * lh))               # the fifth customer
  click "$gx" $((gy + gh))                   # the Name row
  timeout 10 xdotool key --delay 100 F2 ctrl+a || fail "xdotool could not press keys"
  timeout 20 xdotool type --delay 60 "$NAME" || fail "xdotool could not type"
  sleep 0.5
  click "$lx" $((ly + 8 * lh))               # another customer: the name is posted
  timeout 10 xwd -silent -id "$wid" -out "$WORK/shot.xwd" || fail "no screenshot"
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "the demo did not end when asked to"
  wait "$pid" || fail "the demo ended with status $?"
  stored=$(sqlite3 "$WORK/data/plumbgrid/customers.db" "SELECT name FROM customers WHERE id = 5")
  [[ $stored == "$NAME" ]] || fail "the table holds \"$stored\", not \"$NAME\""
  "$CHECK" "$WORK/shot.xwd" "$WORK/shot.png" || fail "the screenshot shows a blank window"
  [[ -n ${PLUMB_SNAPSHOT_DIR:-} ]] && cp "$WORK/shot.png" "$PLUMB_SNAPSHOT_DIR/demo-window.png"
  echo "PASS: \"$NAME\" typed in the real window is in the table"
  exit 0
fi

# ---- Sets up the display ----
DEMO=${1:?usage: demo_check.sh <demo> <xwd-check>}
CHECK=${2:?usage: demo_check.sh <demo> <xwd-check>}
NAME="Zed Quist"
source "$(dirname "$0")/../../support/xvfb.sh"
require_tools xvfb-run Xvfb xauth xdotool xwd sqlite3 timeout
export DEMO CHECK NAME
run_inside_xvfb 150 1024x768 "$0"
