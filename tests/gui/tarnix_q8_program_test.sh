#!/usr/bin/env bash
# The Linux tray program driven from outside with real X input on a private X server: a key row,
# the report rate, a DPI level and the lighting changed through the page's own lists, Apply, then
# the simulated mouse's state file and config.bin checked through q8ctl; a second copy ends at
# once; the skin's close button ends the program with exit code 0.
#   tarnix_q8_program_test.sh BUILD_DIR
set -uo pipefail
build=$1
scratch=$(mktemp -d)
chmod 700 "$scratch"
cp "$build/tarnix-q8" "$build/q8ctl" "$build/config.bin" "$build/str.ini" "$scratch/"
cp -r "$build/Skins" "$scratch/Skins"
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null
  kill "$server" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
export DISPLAY=$display XDG_RUNTIME_DIR=$scratch
sleep 1

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
program=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "Tarnix Q8" | head -n 1)
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

"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin"
check "a second copy ends at once with exit code 0" test $? -eq 0
check "the first copy runs on" kill -0 "$program"

press 300 210   # key row 1 holds the only Left Click: a warning instead of its list
warning=$(timeout 10 xdotool search --sync --onlyvisible --name "^Warning$" | head -n 1)
check "the left-click rule warns" test -n "$warning"
xdotool key Return
sleep 0.5
press 300 232   # key row 2 opens its list below it ...
press 300 250   # ... and its first entry, Left Click, is taken
press 649 209   # report rate 250 Hz
press 617 330   # DPI stage 1 opens its level list ...
press 600 344   # ... and its first level is taken
press 800 338   # lighting mode opens its list ...
press 800 353   # ... and Off is taken
press 700 633   # Apply
sleep 1         # the mouse is written (about half a second)

shown=$("$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" show --config "$scratch/config.bin")
check "config.bin holds 250 Hz" grep -q "report rate: 250 Hz" <<<"$shown"
check "config.bin holds Left Click on button 2" grep -q "button 2: Left Click" <<<"$shown"
check "config.bin holds the lighting off" grep -qi "lighting: off" <<<"$shown"
check "config.bin holds the first DPI level on stage 1" grep -q "1: 400 DPI" <<<"$shown"
rate=$(od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' ')
check "the simulated mouse runs at 250 Hz (code 4)" test "$rate" = 4

# The skin chooser, a dialog over the window: its list in the file system's order, a choice, OK.
press 710 14
dialog=$(xdotool search --onlyvisible --classname tarnix-q8 | grep -vx "$window" | tail -n 1)
check "the skin chooser opens over the window" test -n "$dialog"
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
eval "$(xdotool getwindowgeometry --shell "$window")"

press 859 14    # the skin's close button
wait "$program"
status=$?
program=
check "the close button ends the program with exit code 0" test "$status" -eq 0

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
