# The start every program test shares (the scripts that run a built program and drive it from
# outside). A script sources it first:
#   . "$(dirname "$0")/../support/program-test.sh"
# and then has:
#   $scratch                  a folder of its own (mode 700, also XDG_RUNTIME_DIR), removed at the end
#   keep PID...               processes ended at the end, the last kept first
#   at_exit COMMAND           a command run at the end, after the processes are ended
#   show_on_failure FILE...   files printed at the end when the test failed (a program's errors)
#   check DESCRIPTION CMD...  runs CMD; counts it, and says "FAILED: DESCRIPTION" when it fails
#   wait_for SECONDS WHAT CMD...   polls CMD every 50 ms until it succeeds; gives up after
#                             SECONDS, saying what it waited for, and fails
#   window_named SECONDS NAME the id of the first visible window named NAME (a regular expression),
#                             waited for like wait_for
#   wait_exit SECONDS WHAT PID   waits for the process to end, like wait_for; its exit status in
#                             $exit_status (empty when it runs on)
#   start_x_server [SIZE [ARG...]]   a private X server (Xvfb, SIZE 1280x1024 by default, with
#                             Xvfb's ARGs) on a display no other server holds, in DISPLAY once it
#                             takes connections
#   start_session_bus [CONFIG]   a private session bus (dbus-daemon with the configuration file
#                             CONFIG, or a session bus in $scratch/bus), in DBUS_SESSION_BUS_ADDRESS
#                             once it takes connections
#   copy_program BUILD FILE...   the files from the build tree and its Skins/ into $scratch
#   remove_left_accounts PREFIX   the accounts PREFIX<pid> of tests killed before their clean-up, gone
#   copy_wine_prefix TEMPLATE DIR   a Wine prefix prepared by scripts/wine-prefix, copied
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
printf '%s' "$step" >"$scratch/.step"
kept=()
exit_commands=()
shown_on_failure=()

keep() { kept+=("$@"); }
at_exit() { exit_commands+=("$1"); }
show_on_failure() { shown_on_failure+=("$@"); }
# Notes what the script does, also from a subshell (a wait inside $(...)), for a failure to name.
doing() {
  step=$1
  printf '%s' "$step" >"$scratch/.step"
}

program_test_cleanup() {
  local status=$? i
  if [ -z "$finished" ] && [ "$status" -ne 0 ]; then
    echo "FAILED: the test ended early (exit status $status) after: $(cat "$scratch/.step" 2>/dev/null)"
  fi
  for ((i = ${#kept[@]} - 1; i >= 0; i--)); do kill "${kept[i]}" 2>/dev/null; done
  [ ${#kept[@]} -eq 0 ] || wait "${kept[@]}" 2>/dev/null
  if [ "$status" -ne 0 ] || [ "$failures" -gt 0 ]; then
    for i in "${shown_on_failure[@]}"; do
      [ -s "$i" ] && { echo "--- $(basename "$i"):"; cat "$i"; }
    done
  fi
  for ((i = 0; i < ${#exit_commands[@]}; i++)); do eval "${exit_commands[i]}"; done
  rm -rf "$scratch"
  return "$status"
}
trap program_test_cleanup EXIT
trap 'doing "$(cat "$scratch/.step") (then SIGTERM)"; exit 143' TERM
trap 'doing "$(cat "$scratch/.step") (then SIGINT)"; exit 130' INT
trap 'doing "$(cat "$scratch/.step") (then SIGHUP)"; exit 129' HUP

check() {
  local what=$1
  shift
  doing "check: $what"
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
  doing "waiting for $what"
  # In microseconds: bash's SECONDS counts whole seconds, and a wait of 2 s gave up after 1.2 s.
  local now deadline=$((${EPOCHREALTIME/[.,]/} + seconds * 1000000))
  until "$@"; do
    now=${EPOCHREALTIME/[.,]/}
    if [ "$now" -ge "$deadline" ]; then
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
  local size=${1:-1280x1024} server tries=0
  [ $# -eq 0 ] || shift
  # A display number far above those desktops and their Xwayland take (they start at 0, and a
  # socket left behind there may answer for another server), tried until one is free: the server
  # fails at once on a number another server holds (its lock file), and writes the number once it
  # takes connections, so no wait of fixed length is needed either.
  while :; do
    tries=$((tries + 1))
    : >"$scratch/display"
    Xvfb ":$((1000 + RANDOM % 30000))" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" \
      3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
    server=$!
    server_ready() { [ -s "$scratch/display" ] || ! kill -0 "$server" 2>/dev/null; }
    wait_for 30 "the X server (Xvfb) to take connections" server_ready || exit 1
    [ -s "$scratch/display" ] && break
    wait "$server" 2>/dev/null
    [ "$tries" -lt 20 ] || { echo "no free X display in 20 tries" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
  done
  keep "$server"
  show_on_failure "$scratch/xvfb.log"
  DISPLAY=:$(tr -d '\n' <"$scratch/display")
  export DISPLAY
  # Once in 35 runs on a busy machine a program could not connect right after the number was
  # written: a client that has had its answer proves the server ready.
  answers() { xdpyinfo >/dev/null 2>&1; }
  wait_for 30 "the X server on $DISPLAY to answer a client" answers || exit 1
}

start_session_bus() {
  local how=(--session --address="unix:path=$scratch/bus")
  [ $# -eq 0 ] || how=(--config-file="$1")
  # The daemon writes its address once it listens; its socket file is there a moment before.
  dbus-daemon "${how[@]}" --nofork --print-address=3 3>"$scratch/bus.address" \
    >"$scratch/bus.log" 2>&1 &
  session_bus=$!
  keep "$session_bus"
  show_on_failure "$scratch/bus.log"
  bus_listens() { [ -s "$scratch/bus.address" ]; }
  wait_for 10 "the session bus (dbus-daemon) to take connections" bus_listens || exit 1
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$scratch/bus.address")
  export DBUS_SESSION_BUS_ADDRESS
}

copy_program() {
  local build=$1
  shift
  local file
  for file in "$@"; do cp "$build/$file" "$scratch/" || exit 1; done
  cp -r "$build/Skins" "$scratch/Skins" || exit 1
}

# remove_left_accounts PREFIX: the accounts named PREFIX<pid> that a test killed before its clean-up
# left behind (ctest kills a test that overruns with SIGKILL): their processes ended and the
# accounts removed, unless the test of that pid still runs.
remove_left_accounts() {
  local prefix=$1 name
  for name in $(cut -d: -f1 /etc/passwd | grep -E "^$prefix[0-9]+$"); do
    kill -0 "${name#"$prefix"}" 2>/dev/null && continue
    pkill -KILL -u "$name" 2>/dev/null
    userdel "$name" 2>/dev/null
  done
}

copy_wine_prefix() {
  local template=$1 dir=$2 system=drive_c/windows/system32
  # The system folder holds 600 MB of DLLs that Wine only reads: linked, not copied. Everything
  # else (the registry, which the Wine server replaces whole as it saves it, the user's folders)
  # is copied, so that no test changes the template.
  mkdir -p "$dir" &&
    tar -C "$template" --exclude="./$system" -cf - . | tar -C "$dir" -xf - &&
    cp -al "$template/$system" "$dir/$system" || exit 1
}

finish() {
  finished=1
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
  exit
}
