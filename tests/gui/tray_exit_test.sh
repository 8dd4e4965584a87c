#!/usr/bin/env bash
# The Linux tray program in a real notification area (trayer on a private X server): started at
# log-in before the panel (--at-log-in, as its autostart entry starts it), it waits for the
# notification area and docks there, its window hidden; its tray menu opens, and its Exit ends the
# program with exit code 0, even while a message box of the window is open, whose own loop must
# not keep the tray out of reach.
# Run it in a network namespace of its own (tests/support/own-network).
#   tray_exit_test.sh BUILD_DIR
build=$1
. "$(dirname "$0")/../support/program-test.sh"
copy_program "$build" tarnix-q8 tarnix-q8.png config.bin str.ini
start_x_server
"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" --trace="$scratch/wire.trace" \
  --at-log-in &
program=$!
keep $program
sleep 1  # the panel comes a moment after the program
# A panel 200 px wide at the top right; the program's icon is its only one, at its right end.
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
keep $!
tray_up() { xdotool search --classname trayer >/dev/null 2>&1; }
wait_for 10 "the notification area (trayer)" tray_up || exit 1
icon=(1270 16)
# Docked in the panel, the icon is a child window of the program's at the panel's right end.
docked() {
  xdotool search --classname tarnix-q8 2>/dev/null | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
    [ "${Y:-999}" -lt 32 ] && [ "${X:-0}" -gt 1200 ] && echo "$w"
  done | grep -q .
}
check "started before the panel, the icon docks in it" \
  wait_for 10 "the tray icon docked in the panel" docked
read_whole() { [ "$(grep -c "^get page" "$scratch/wire.trace")" -ge 5 ]; }
wait_for 10 "the mouse read at start-up" read_whole
check "and the window stays hidden" \
  test -z "$(xdotool search --onlyvisible --name "^Tarnix Q8$" 2>/dev/null)"
# The icon shows the window once the start-up has ended, which on a loaded machine may come after
# the read: a click before it does nothing, and the user clicks again.
window=
click_until_shown() {
  xdotool mousemove "${icon[@]}" click 1
  sleep 0.5
  window=$(xdotool search --onlyvisible --name "^Tarnix Q8$" 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
check "a click on the tray icon shows the window" \
  wait_for 15 "the window shown by a click on the tray icon" click_until_shown
[ -n "$window" ] || finish
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 300)) $((Y + 210))  # key row 1, the only Left Click: a message box
sleep 0.3
xdotool click 1
box=$(window_named 10 "^Warning$")
check "the left-click rule opens a message box" test -n "$box"
xdotool mousemove "${icon[@]}" click 3  # the tray menu
# The menu: a window at the top right, wider than the icon in the panel.
menu=
menu_open() {
  menu=$(xdotool search --onlyvisible --classname tarnix-q8 | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$Y" -lt 100 ] && [ "$X" -gt 1000 ] && [ "$WIDTH" -gt 60 ] && echo "$w"
  done | head -n 1)
  [ -n "$menu" ]
}
check "the tray menu opens while the message box is open" \
  wait_for 10 "the tray menu at the top right" menu_open
[ -n "$menu" ] || finish
sleep 0.3  # the menu takes keys once it has grabbed them
xdotool key Up Return  # from no entry, Up goes to the last: Exit
check "Exit ends the program within two seconds" wait_exit 2 "the program to end on Exit" "$program"
check "the program ends with exit code 0 (got $exit_status)" test "$exit_status" = 0
finish
