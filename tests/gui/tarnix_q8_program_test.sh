#!/usr/bin/env bash
# The Linux tray program driven from outside with real X input on a private X server: a key row,
# the report rate, a DPI level and the lighting changed through the page's own lists, Apply, then
# the simulated mouse's state file and config.bin checked through q8ctl; a second copy ends at
# once, creating nothing; the skin's close button ends the program with exit code 0. Then eight
# copies started together, with and without XDG_RUNTIME_DIR, leave one running; without a tray
# its notices reach the notification server (dunst) on a private session bus, and q8ctl notify
# fails, saying why, once no server is there. A status sender that never ends its line costs the
# program no memory; another user's process holding the name, bound and not listening, does not
# stop the program, which says what holds it.
# Run it in a network namespace of its own (tests/support/own-network): the program's
# single-instance socket is per user and per network namespace.
#   tarnix_q8_program_test.sh BUILD_DIR
build=$1
. "$(dirname "$0")/../support/program-test.sh"
copy_program "$build" tarnix-q8 tarnix-q8.png q8ctl config.bin str.ini
start_x_server

# No session bus until the notices' part below: the program then says on standard error that it
# cannot show a notice, which tells the test that it heard of the mouse's cable.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/no-bus
"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" --trace="$scratch/wire.trace" \
  2>"$scratch/program.err" &
program=$!
show_on_failure "$scratch/program.err"
keep $program
window=$(window_named 30 "^Tarnix Q8$") || exit 1
check "the window opens (no tray on a bare X server)" test -n "$window"
eval "$(xdotool getwindowgeometry --shell "$window")"
check "the window has the size of main.png" test "$WIDTH" = 876 -a "$HEIGHT" = 648
# A press at (x, y) of the window's client area, after the pointer has rested there.
press() {
  xdotool mousemove $((X + $1)) $((Y + $2))
  sleep 0.2
  xdotool click 1
  sleep 0.4
}

# A second copy that does not end would hang the test: it may take ten seconds.
timeout 10 "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin"
check "a second copy ends at once with exit code 0 (got $?)" test $? -eq 0
check "the first copy runs on" kill -0 "$program"
timeout 10 env -u XDG_RUNTIME_DIR "$scratch/tarnix-q8" --simulate="$scratch/second-state.bin"
check "a second copy without XDG_RUNTIME_DIR ends too (got $?)" test $? -eq 0
check "a second copy creates no state file" test ! -e "$scratch/second-state.bin"

press 300 210   # key row 1 holds the only Left Click: a warning instead of its list
warning=$(window_named 10 "^Warning$")
check "the left-click rule warns" test -n "$warning"
xdotool key Return
no_box() { ! xdotool search --onlyvisible --name "^Warning$" >/dev/null; }
wait_for 10 "the warning to close on Return" no_box
press 300 232   # key row 2 opens its list below it ...
press 300 250   # ... and its first entry, Left Click, is taken
press 649 209   # report rate 250 Hz
# Every stop but the chosen one shows the dark image on the same ground: 1000 Hz, chosen before,
# keeps nothing of the light knob, and looks like 125 and 500, which never were.
import -window "$window" "$scratch/track.png"
stop_differs() {  # stop_differs LEFT_A LEFT_B: the pixels of two stops that differ
  compare -metric AE "$scratch/track.png[70x11+$1+204]" "$scratch/track.png[70x11+$2+204]" \
    null: 2>&1
}
check "the stop chosen before looks like one never chosen" test "$(stop_differs 758 542)" = 0
check "two stops never chosen look alike" test "$(stop_differs 686 542)" = 0
check "the chosen stop looks different" test "$(stop_differs 614 542)" != 0
press 617 330   # DPI stage 1 opens its level list ...
press 600 344   # ... and its first level is taken
press 800 338   # lighting mode opens its list ...
press 800 353   # ... and Off is taken
press 700 633   # Apply
q8ctl() { "$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" "$@"; }
saved() { grep -q "$1" <<<"$(q8ctl show --config "$scratch/config.bin")"; }
check "config.bin holds 250 Hz" wait_for 10 "config.bin to hold 250 Hz after Apply" \
  saved "report rate: 250 Hz"
shown=$(q8ctl show --config "$scratch/config.bin")
check "config.bin holds Left Click on button 2" grep -q "button 2: Left Click" <<<"$shown"
check "config.bin holds the lighting off" grep -qi "lighting: off" <<<"$shown"
check "config.bin holds the first DPI level on stage 1" grep -q "1: 400 DPI" <<<"$shown"
rate=$(od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' ')
check "the simulated mouse runs at 250 Hz (code 4)" test "$rate" = 4

# The simulated mouse's cable pulled and put back with q8ctl: the program hears of it through its
# hot-plug monitor, as of a real mouse. (A bare X server has no tray to show the notices.)
trace_lines() { grep -c "^$1" "$scratch/wire.trace"; }
reads_reach() { [ "$(trace_lines "get page")" -eq "$1" ]; }
writes_above() { [ "$(trace_lines "set page")" -gt "$1" ]; }
boxes() { xdotool search --onlyvisible --name "^(WriteOperation|GetDPIStage|ReadOperation)$" | wc -l; }
shown_now() { xdotool search --onlyvisible --name "^Tarnix Q8$" | grep -qx "$window"; }
notices() { grep -c "notice cannot be shown" "$scratch/program.err"; }
notices_above() { [ "$(notices)" -gt "$1" ]; }
noticed=$(notices)
q8ctl unplug >/dev/null
wait_for 10 "the program's notice that the mouse is gone" notices_above "$noticed"
writes=$(trace_lines "set page")
press 700 633   # Apply without the mouse: nothing is written, nothing is said
check "unplugged, Apply writes nothing" test "$(trace_lines "set page")" -eq "$writes"
check "unplugged, Apply says nothing" test "$(boxes)" -eq 0
reads=$(trace_lines "get page")
q8ctl plug >/dev/null
check "plugged back, the mouse is read again" \
  wait_for 10 "the five pages read after the plug" reads_reach $((reads + 5))
# Back from the task list, where a bare X server has none.
shown_again() { xdotool windowmap "$window" && shown_now; }
wait_for 10 "the window mapped again" shown_again

# Unplugged in the middle of Apply, once the first page has gone out: one message, no crash,
# config.bin saved; plugged back, the next Apply writes the mouse whole.
press 721 209   # report rate 500 Hz
writes=$(trace_lines "set page")
xdotool mousemove $((X + 700)) $((Y + 633)) click 1
wait_for 10 "the first page of the Apply written" writes_above "$writes"
q8ctl unplug >/dev/null
box=$(window_named 10 "^WriteOperation$")
check "unplugged during Apply, the write is reported" test -n "$box"
xdotool key Return
no_boxes() { [ "$(boxes)" -eq 0 ]; }
wait_for 10 "the message to close on Return" no_boxes
sleep 0.5  # a second message would open at once
check "one message, no more" test "$(boxes)" -eq 0
check "the program runs on" kill -0 "$program"
reads=$(trace_lines "get page")
q8ctl plug >/dev/null
check "plugged back, the mouse is read again" \
  wait_for 10 "the five pages read after the plug" reads_reach $((reads + 5))
check "config.bin was saved" saved "report rate: 500 Hz"
wait_for 10 "the window mapped again" shown_again
writes=$(trace_lines "set page")
press 700 633   # Apply
check "the next Apply writes every page" \
  wait_for 10 "five pages written by Apply" writes_above $((writes + 4))
sleep 0.3  # a sixth page would follow at once
check "... and no more" test "$(trace_lines "set page")" -eq $((writes + 5))
cp "$scratch/mouse-state.bin" "$scratch/expected-state.bin"
"$scratch/q8ctl" --simulate="$scratch/expected-state.bin" apply --config "$scratch/config.bin" >/dev/null
check "the mouse holds what an apply of config.bin gives" \
  cmp -s "$scratch/mouse-state.bin" "$scratch/expected-state.bin"

# A sender that never ends its line: the program keeps a few KB of it, closes the connection and
# runs on, its memory where it was. The peak resident size (VmHWM) is compared, as the bytes a
# program buffers leave with the connection, before a later look at VmRSS would see them.
peak() { awk '/^VmHWM/ {print $2}' "/proc/$program/status"; }
before=$(peak)
sent=$(timeout 30 perl -MSocket -e '$SIG{PIPE} = "IGNORE";
  my $s; socket($s, AF_UNIX, SOCK_STREAM, 0) && connect($s, pack_sockaddr_un("\0$ARGV[0]")) or die "$!";
  my ($chunk, $sent) = ("a" x 65536, 0);
  while ($sent < $ARGV[1]) { my $n = syswrite($s, $chunk); last unless defined $n; $sent += $n }
  print $sent' "tarnix-q8-$(id -u)" $((32 << 20)))
check "a line without end is cut off ($sent of 32 MB taken)" \
  test "${sent:-0}" -gt 0 -a "${sent:-0}" -lt $((32 << 20))
check "the memory stays within 4 MB of its peak ($before kB, then $(peak) kB)" \
  test $(($(peak) - before)) -lt 4096
check "the program runs on" kill -0 "$program"

# The skin chooser, a dialog over the window: its list in the file system's order, a choice, OK.
import -window "$window" "$scratch/before-skin.png"
press 710 14
dialog=
dialog_open() {
  dialog=$(xdotool search --onlyvisible --classname tarnix-q8 | grep -vx "$window" | tail -n 1)
  [ -n "$dialog" ]
}
check "the skin chooser opens over the window" wait_for 10 "the skin chooser" dialog_open
eval "$(xdotool getwindowgeometry --shell "$dialog")"
index=$(ls -U "$scratch/Skins" | grep -nx Cobalt | cut -d: -f1)
press 100 136                              # the drop region opens the list of skins ...
press 80 $((146 + 14 * (index - 1) + 7))   # ... Cobalt is taken
press 218 263                              # OK
# str.ini as text, whichever encoding the tool saved it in.
ini_text() {
  if [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16LE -t UTF-8 "$1"
  else
    cat "$1"
  fi | tr -d '\r'
}
check "the chosen skin is saved in str.ini" grep -q "^Path=Cobalt" <(ini_text "$scratch/str.ini")
# The window takes clicks again once the chooser is gone and the page is drawn in the new skin.
dialog_gone() { ! xdotool search --onlyvisible --classname tarnix-q8 | grep -qx "$dialog"; }
wait_for 10 "the skin chooser to close on OK" dialog_gone
redrawn() {  # most of the window differs from the picture in the other skin
  local differing
  import -window "$window" "$scratch/after-skin.png" || return 1
  differing=$(compare -metric AE "$scratch/before-skin.png" "$scratch/after-skin.png" null: 2>&1)
  awk -v n="$differing" 'BEGIN { exit !(n + 0 > 200000) }'
}
check "the window shows the chosen skin" wait_for 10 "the page drawn in Cobalt" redrawn
eval "$(xdotool getwindowgeometry --shell "$window")"

press 859 14    # the skin's close button
wait_exit 10 "the program to end on its close button" "$program"
check "the close button ends the program with exit code 0 (got $exit_status)" test "$exit_status" = 0

# --- One copy per user, whatever the environment -------------------------------------------------
copies=()
for i in 1 2 3 4 5 6 7 8; do
  if [ $((i % 2)) -eq 0 ]; then
    "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
  else
    env -u XDG_RUNTIME_DIR "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
  fi
  copies+=($!)
done
keep "${copies[@]}"
running=()
one_left() {
  running=()
  for pid in "${copies[@]}"; do
    kill -0 "$pid" 2>/dev/null && running+=("$pid")
  done
  [ ${#running[@]} -le 1 ]
}
wait_for 30 "all but one of eight copies to end" one_left
sleep 2  # a copy that took the role late would still be starting
running=()
for pid in "${copies[@]}"; do
  if kill -0 "$pid" 2>/dev/null; then running+=("$pid"); else wait "$pid" || echo "copy $pid: exit $?"; fi
done
check "eight copies started together leave exactly one running" test ${#running[@]} -eq 1
program=${running[0]:-}

# --- Notices without a notification area ---------------------------------------------------------
cat >"$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$scratch/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
start_session_bus "$scratch/bus.conf"
dbus-monitor "interface='org.freedesktop.Notifications',member='Notify'" >"$scratch/monitor.txt" 2>&1 &
monitor=$!
keep $monitor
show_on_failure "$scratch/monitor.txt"
# A connection that becomes a monitor loses its bus name: from then on it sees every Notify.
wait_for 10 "dbus-monitor to watch the bus" grep -q "member=NameLost" "$scratch/monitor.txt"
dunst >/dev/null 2>&1 &
dunst=$!
keep $dunst
server_owns_name() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null |
    grep -q "boolean true"
}
wait_for 10 "the notification server (dunst) on the bus" server_owns_name
# The running copy took its session bus at start, when there was none: start one that has it.
if [ -n "$program" ]; then
  kill "$program"
  wait "$program" 2>/dev/null
fi
"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
program=$!
keep $program
window_named 30 "^Tarnix Q8$" >/dev/null
"$scratch/q8ctl" notify 5 8 2>"$scratch/notify.err"
check "q8ctl notify reaches the notification server (exit 0)" test $? -eq 0
monitored() { tr -s ' \n' ' ' <"$scratch/monitor.txt"; }
notice_seen() { grep -q 'string "Switch report rate into 125HZ"' <<<"$(monitored)"; }
wait_for 5 "the notice on the bus" notice_seen
monitored=$(monitored)
check "the notice's title reached the server" grep -q 'string "Info"' <<<"$monitored"
check "the notice's text reached the server" grep -q 'string "Switch report rate into 125HZ"' <<<"$monitored"
check "the notice carries the program's icon" grep -q "string \"[^\"]*/tarnix-q8.png\"" <<<"$monitored"
check "the notice carries the balloon's time-out" grep -q "int32 5000" <<<"$monitored"
shown=$(dunstctl count displayed 2>/dev/null)
check "dunst shows the notice" test "${shown:-0}" -ge 1

kill "$dunst"
wait "$dunst" 2>/dev/null
"$scratch/q8ctl" notify 8 1 2>"$scratch/notify.err"
status=$?
check "without tray or notification server q8ctl notify exits 1" test "$status" -eq 1
check "... and says why" grep -q "no notification area" "$scratch/notify.err"

window=$(window_named 30 "^Tarnix Q8$")
eval "$(xdotool getwindowgeometry --shell "$window")"
press 859 14    # the skin's close button
wait_exit 10 "the last copy to end on its close button" "$program"
check "the last copy ends with its close button, exit code 0 (got $exit_status)" \
  test "$exit_status" = 0

# --- Another user's process holds the name, bound and never listening ---------------------------
# An account of its own for the test (removed at the end); the program names it.
remove_left_accounts tq8test
account=tq8test$$
if useradd --system --no-create-home --shell /usr/sbin/nologin "$account" 2>/dev/null; then
  at_exit 'userdel "$account" 2>/dev/null'
  holder="($account)"
else
  account=$((40000 + RANDOM)); holder="uid $account"  # no account to make: a bare user id
fi
setpriv --reuid="$account" --regid=65534 --clear-groups perl -MSocket -e '
  my $s; socket($s, AF_UNIX, SOCK_STREAM, 0) && bind($s, pack_sockaddr_un("\0$ARGV[0]")) or die "$!";
  sleep 120' "tarnix-q8-$(id -u)" &
keep $!
name_bound() { grep -q "@tarnix-q8-$(id -u)\$" /proc/net/unix; }
wait_for 10 "the other user's socket bound" name_bound
dunst >/dev/null 2>&1 &
keep $!
wait_for 10 "the notification server (dunst) on the bus" server_owns_name
"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" 2>"$scratch/held.err" &
program=$!
keep $program
window=$(window_named 30 "^Tarnix Q8$")
check "the name held by another user's socket, the program runs" test -n "$window"
check "... says on standard error what holds the name" grep -q "held by .*$holder" "$scratch/held.err"
check "... and in a notice" \
  wait_for 10 "the notice of the held name" grep -q "held by .*$holder" "$scratch/monitor.txt"
eval "$(xdotool getwindowgeometry --shell "$window")"
press 859 14
wait_exit 10 "the program to end on its close button" "$program"
check "... and ends with its close button, exit code 0 (got $exit_status)" test "$exit_status" = 0

finish
