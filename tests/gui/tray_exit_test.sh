#!/usr/bin/env bash
# The Linux tray program in a real notification area (trayer on a private X server): its tray
# menu opens, and its Exit ends the program with exit code 0, even while a message box of the
# window is open, whose own loop must not keep the tray out of reach.
# Run it in a network namespace of its own (tests/support/own-network).
#   tray_exit_test.sh BUILD_DIR
set -uo pipefail
build=$1
scratch=$(mktemp -d)
chmod 700 "$scratch"
cp "$build/tarnix-q8" "$build/tarnix-q8.png" "$build/config.bin" "$build/str.ini" "$scratch/"
cp -r "$build/Skins" "$scratch/Skins"
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
export DISPLAY=$display XDG_RUNTIME_DIR=$scratch
sleep 1
# A panel 200 px wide at the top right; the program's icon is its only one, at its right end.
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
pids+=($!)
sleep 1
icon=(1270 16)

"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
program=$!
pids+=($program)
sleep 3
xdotool mousemove "${icon[@]}" click 1  # the icon shows the window
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Tarnix Q8" | head -n 1)
if [ -z "$window" ]; then
  echo "FAILED: a click on the tray icon shows the window"
  exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 300)) $((Y + 210))  # key row 1, the only Left Click: a message box
sleep 0.3
xdotool click 1
sleep 1
xdotool mousemove "${icon[@]}" click 3  # the tray menu
sleep 1
# The menu: a window at the top right, wider than the icon in the panel.
menu=$(xdotool search --onlyvisible --classname tarnix-q8 | while read -r w; do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$Y" -lt 100 ] && [ "$X" -gt 1000 ] && [ "$WIDTH" -gt 60 ] && echo "$w"
done | head -n 1)
if [ -z "$menu" ]; then
  echo "FAILED: the tray menu opens while the message box is open"
  exit 1
fi
xdotool key Up Return  # from no entry, Up goes to the last: Exit
for _ in $(seq 20); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  echo "FAILED: Exit ends the program within two seconds"
  exit 1
fi
wait "$program"
status=$?
[ $status -eq 0 ] || { echo "FAILED: the program ends with exit code 0 (got $status)"; exit 1; }
echo "1 passed, 0 failed"
