# Shared by the end-to-end checks that drive a real window under Xvfb; sourced, not run.
#
#   require_tools <tool>...      exits 77 (skipped) when one is not installed
#   wait_for_display             (inside) waits until the X server answers, up to 10 seconds
#   run_inside_xvfb <secs> <WxH> <script>
#                                runs "<script> --inside" on a fresh Xvfb display with $WORK
#                                (a scratch folder the script gets, removed afterwards) and
#                                exits with 0 when it passed, 1 when it failed, 77 when Xvfb
#                                could not start; the script touches $WORK/started first.

# Sanitizer builds: what the X11 client library keeps for the life of the process is not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

wait_for_display() {
  local deadline=$((SECONDS + 10))
  until xdotool getmouselocation >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

run_inside_xvfb() {
  WORK=$(mktemp -d)
  trap 'rm -rf "$WORK"' EXIT
  export WORK
  timeout "$1" xvfb-run -a -s "-screen 0 ${2}x24 -nolisten tcp" bash "$3" --inside
  local status=$?
  if [[ ! -e $WORK/started ]]; then
    echo "SKIP: Xvfb could not start (xvfb-run exited with $status)"
    exit 77
  fi
  ((status == 124)) && echo "FAIL: the check did not finish in time"
  exit $((status == 0 ? 0 : 1))
}
