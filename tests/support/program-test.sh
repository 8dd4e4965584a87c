# The start every program test shares (the scripts that run a built program and drive it from
# outside). A script sources it first:
#   . "$(dirname "$0")/../support/program-test.sh"
# and then has:
#   $scratch                  a folder of its own (mode 700, also XDG_RUNTIME_DIR), removed at the end
#   keep PID...               processes ended at the end, the last kept first
#   at_exit COMMAND           a command run at the end, after the processes are ended
#   check DESCRIPTION CMD...  runs CMD; counts it, and says "FAILED: DESCRIPTION" when it fails
#   wait_for SECONDS WHAT CMD...   polls CMD every 50 ms until it succeeds; gives up after
#                             SECONDS, saying what it waited for, and fails
#   window_named SECONDS NAME the id of the first visible window named NAME (a regular expression),
#                             waited for like wait_for
#   wait_exit SECONDS WHAT PID   waits for the process to end, like wait_for; its exit status in
#                             $exit_status (empty when it runs on)
#   start_x_server [SIZE]     a private X server (Xvfb, SIZE 1280x1024 by default) on a display
#                             no other server holds, in DISPLAY once it takes connections
#   copy_program BUILD FILE...   the files from the build tree and its Skins/ into $scratch
#   finish                    "N passed, M failed", then the exit status: 0 when nothing failed
# A script that ends otherwise (a command it could not do without, a signal) says where it was.
set -uo pipefail

scratch=$(mktemp -d "${TMPDIR:-/tmp}/q8-program-test.XXXXXX")
chmod 700 "$scratch"
export XDG_RUNTIME_DIR=$scratch

passes=0
failures=0
finished=
# What the script did last: named when it ends early.
step="the start"
kept=()
exit_commands=()

keep() { kept+=("$@"); }
at_exit() { exit_commands+=("$1"); }

program_test_cleanup() {
  local status=$? i
  if [ -z "$finished" ] && [ "$status" -ne 0 ]; then
    echo "FAILED: the test ended early (exit status $status) after: $step"
  fi
  for ((i = ${#kept[@]} - 1; i >= 0; i--)); do kill "${kept[i]}" 2>/dev/null; done
  [ ${#kept[@]} -eq 0 ] || wait "${kept[@]}" 2>/dev/null
  for ((i = 0; i < ${#exit_commands[@]}; i++)); do eval "${exit_commands[i]}"; done
  rm -rf "$scratch"
  return "$status"
}
trap program_test_cleanup EXIT
trap 'step="$step (then SIGTERM)"; exit 143' TERM
trap 'step="$step (then SIGINT)"; exit 130' INT
trap 'step="$step (then SIGHUP)"; exit 129' HUP

check() {
  local what=$1
  shift
  step="check: $what"
  if "$@"; then
    passes=$((passes + 1))
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

wait_for() {
  local seconds=$1 what=$2
  shift 2
  step="waiting for $what"
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "gave up after $seconds s waiting for $what" >&2
      return 1
    fi
    sleep 0.05
  done
}

window_named() {
  local seconds=$1 name=$2 found=
  visible_window() { found=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1); [ -n "$found" ]; }
  wait_for "$seconds" "a visible window named \"$name\"" visible_window || return 1
  echo "$found"
}

wait_exit() {
  local seconds=$1 what=$2 pid=$3
  exit_status=
  # Once bash has taken a child's exit status, the process is gone for kill -0 too.
  process_ended() { ! kill -0 "$pid" 2>/dev/null; }
  wait_for "$seconds" "$what" process_ended || return 1
  wait "$pid"
  exit_status=$?
}

start_x_server() {
  local size=${1:-1280x1024}
  # The server picks the first display number no other server holds and writes it once it takes
  # connections: neither a guessed number that another test run holds, nor a wait of fixed length.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
  keep $!
  display_written() { [ -s "$scratch/display" ]; }
  wait_for 30 "the X server (Xvfb) to take connections" display_written || exit 1
  DISPLAY=:$(tr -d '\n' <"$scratch/display")
  export DISPLAY
}

copy_program() {
  local build=$1
  shift
  local file
  for file in "$@"; do cp "$build/$file" "$scratch/" || exit 1; done
  cp -r "$build/Skins" "$scratch/Skins" || exit 1
}

finish() {
  finished=1
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
  exit
}
