#!/usr/bin/env bash
# The profiles dialog of the Linux tray program, driven as a user would on a private X server with
# a notification area (trayer): "Manage profiles…" from the tray menu's Profiles submenu; a name
# typed and "Save current as" clicked; a running program (xev, listed in _NET_CLIENT_LIST as a
# window manager lists it) picked for a rule; the rule then switches when that program comes to the
# front; Delete asks and deletes the profile and its rule. The program and q8ctl both run with a
# bare --simulate: they share the one simulated mouse in the settings folder.
# Run it in a network namespace of its own (tests/support/own-network).
#   profiles_dialog_test.sh BUILD_DIR [SCREENSHOT]
. "$(dirname "$0")/../support/program-test.sh"
build=$1
screenshot=${2:-}
copy_program "$build" tarnix-q8 q8ctl tarnix-q8.png config.bin str.ini
start_x_server
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
keep $!
tray_up() { xdotool search --classname trayer >/dev/null 2>&1; }
wait_for 10 "the notification area (trayer)" tray_up || exit 1
icon=(1270 16)

q8ctl() { "$scratch/q8ctl" --simulate "$@" >/dev/null; }
rate() { od -An -tu1 -N1 "$scratch/simulated-mouse.bin" | tr -d ' '; }
rate_becomes() {  # waits up to five seconds for the mouse's report-rate code to become $1
  for _ in $(seq 50); do [ "$(rate)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
# The windows of the program: "ID X Y WIDTH HEIGHT" each.
program_windows() {
  xdotool search --onlyvisible --classname tarnix-q8 | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$w $X $Y $WIDTH $HEIGHT"
  done
}
press() {  # a press at (x, y) of the dialog, after the pointer has rested there
  xdotool mousemove $((DX + $1)) $((DY + $2))
  sleep 0.2
  xdotool click 1
  sleep 0.5
}
open_dialog() {
  xdotool mousemove "${icon[@]}" click 3
  sleep 1
  # The menu: Profiles first; resting on it opens the submenu, whose last entry manages them.
  read -r _ mx my _ _ < <(program_windows | awk '$3 < 100 && $4 > 60' | head -n 1)
  xdotool mousemove $((mx + 30)) $((my + 11))
  sleep 1
  read -r _ sx sy _ sh < <(program_windows | awk -v mx="$mx" '$3 < 100 && $2 < mx' | head -n 1)
  xdotool mousemove $((sx + 30)) $((sy + sh - 11))
  sleep 0.3
  xdotool click 1
  sleep 1.5
  read -r dialog DX DY _ _ < <(program_windows | awk '$4 == 560 && $5 == 420' | head -n 1)
  [ -n "${dialog:-}" ]
}

q8ctl set report-rate 250
"$scratch/tarnix-q8" --simulate &
program=$!
keep "$program"
docked() {  # the icon, a child window of the program's, at the panel's right end
  program_windows | awk '$3 < 32 && $2 > 1200' | grep -q .
}
wait_for 10 "the tray icon docked in the panel" docked
check "the program and q8ctl share the simulated mouse in the settings folder (250 Hz)" \
  test "$(rate)" = 4

xev -name other-program >/dev/null &
game=$!
keep "$game"
other=$(timeout 30 xdotool search --sync --name "^other-program$" | head -n 1)
# What a window manager says of its windows: the list of them and each one's process.
xprop -id "$other" -f _NET_WM_PID 32c -set _NET_WM_PID "$game"
xprop -root -f _NET_CLIENT_LIST 32x -set _NET_CLIENT_LIST "$other"

check "Manage profiles… opens the dialog" open_dialog
press 170 243  # the name
xdotool type Racing
press 76 272  # Save current as
check "Save current as writes the profile, readable" \
  grep -q "ReportRate=250 Hz" "$scratch/profiles/Racing.ini"
[ -z "$screenshot" ] || import -window root -crop "560x420+$DX+$DY" "$screenshot"

q8ctl set report-rate 1000
check "q8ctl sets 1000 Hz on the shared mouse" rate_becomes 1
press 60 77    # Racing, the first profile
press 450 203  # the program's list
press 420 222  # its first program: xev
press 483 230  # Set rule
check "the rule names the program picked" grep -q "^xev=Racing" "$scratch/profiles/rules.ini"
press 495 396  # Close
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$other"
check "xev in front: the rule loads Racing (250 Hz)" rate_becomes 4

check "the dialog opens again" open_dialog
press 60 77   # Racing
press 76 300  # Delete
question=$(xdotool search --onlyvisible --name "^Profiles$" | while read -r w; do
  [ "$w" != "$dialog" ] && echo "$w"
done | head -n 1)
check "Delete asks first" test -n "$question" -a -f "$scratch/profiles/Racing.ini"
xdotool key Return  # Yes
sleep 1
check "Yes deletes the profile" test ! -e "$scratch/profiles/Racing.ini"
check "and the rule that used it" test "$(grep -c '=Racing' "$scratch/profiles/rules.ini")" = 0
press 495 396  # Close
check "the tray program runs on" kill -0 "$program"

finish
