#!/usr/bin/env bash
# The Linux tray program natively on Wayland (weston's headless compositor) with a notification
# area that draws the tray menu itself: a StatusNotifierWatcher with a host, on a private session
# bus. The item registers, its Activate shows the window, its menu is exported over
# com.canonical.dbusmenu with the Profiles submenu and Exit, and a click on Exit there ends the
# program with exit code 0: with the window shown, and with a box of the start-up open. The menu's
# Start at log-in writes the autostart entry (which desktop-file-validate accepts) and removes it,
# and its check mark follows the file, whoever wrote it.
# Run it in a network namespace of its own (tests/support/own-network).
#   wayland_tray_test.sh BUILD_DIR
set -uo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
chmod 700 "$scratch"
cp "$build/tarnix-q8" "$build/tarnix-q8.png" "$build/q8ctl" "$build/config.bin" "$build/str.ini" "$scratch/"
cp -r "$build/Skins" "$scratch/Skins"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$scratch WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland
export XDG_CONFIG_HOME=$scratch/config
entry=$XDG_CONFIG_HOME/autostart/tarnix-q8.desktop
unset DISPLAY

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
eventually() {  # eventually SECONDS COMMAND...: polls COMMAND every 100 ms
  local tries=$(($1 * 10))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# A plain background, no panel: a shown window is the only thing on the screen.
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff204060\n' \
  >"$scratch/weston.ini"
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" \
  --width=1400 --height=1000 --config="$scratch/weston.ini" >"$scratch/weston.log" 2>&1 &
pids+=($!)
dbus-daemon --session --address="unix:path=$scratch/bus" --nofork >/dev/null 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/bus
eventually 10 test -S "$scratch/$WAYLAND_DISPLAY" -a -S "$scratch/bus" ||
  { echo "FAILED: weston and the session bus start"; cat "$scratch/weston.log"; exit 1; }
/usr/bin/python3 "$here/status_notifier_watcher.py" >"$scratch/items" 2>"$scratch/watcher.err" &
pids+=($!)
eventually 10 grep -q ready "$scratch/items" ||
  { echo "FAILED: the notification area starts"; cat "$scratch/watcher.err"; exit 1; }
# A profile, so that the menu has its Profiles submenu.
"$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" profile --config "$scratch/config.bin" \
  save Racing >/dev/null

call() {  # call PATH METHOD ARGS...: on the tray item of the program started last
  gdbus call --session --dest "$item" --object-path "$1" --method "$2" -- "${@:3}" 2>&1
}
screenshot() {  # screenshot FILE
  (cd "$scratch" && rm -f wayland-screenshot-*.png && weston-screenshooter >/dev/null 2>&1 &&
    mv wayland-screenshot-*.png "$1")
}
changed() {  # changed A B: the number of pixels that differ
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1)
  echo "${count%%.*}"
}
start() {  # start ARGS...: the program, until its tray item has registered
  local before
  before=$(wc -l <"$scratch/items")
  "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" "$@" 2>>"$scratch/program.err" &
  program=$!
  pids+=($program)
  registered() { [ "$(wc -l <"$scratch/items")" -gt "$before" ]; }
  check "the tray item registers with the watcher" eventually 10 registered
  # The line names the item's bus name (what Qt registers), or a path on the sender's connection.
  read -r sender item < <(tail -n 1 "$scratch/items")
  [[ $item == /* ]] && item=$sender
}
exit_from_menu() {  # exit_from_menu STATE: Exit, from the menu the host draws, ends the program
  local layout exit_id status
  call /MenuBar com.canonical.dbusmenu.AboutToShow 0 >/dev/null
  layout=$(call /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '[]')
  exit_id=$(grep -o "<([0-9]*, {[^}]*'label': <'Exit'>" <<<"$layout" | grep -o '^<([0-9]*' | tr -d '<(')
  check "$1: the menu holds Exit" test -n "$exit_id"
  call /MenuBar com.canonical.dbusmenu.Event "${exit_id:-0}" clicked '<int32 0>' 0 >/dev/null
  ended() { ! kill -0 "$program" 2>/dev/null; }
  if eventually 5 ended; then
    wait "$program"
    status=$?
    check "$1: Exit ends the program with exit code 0 (got $status)" test "$status" -eq 0
  else
    check "$1: Exit ends the program" false
  fi
}

sleep 1
screenshot "$scratch/empty.png"
start
menu=$(call /StatusNotifierItem org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu)
check "the item names its menu (not /NO_DBUSMENU): $menu" grep -q "'/MenuBar'" <<<"$menu"
sleep 1  # the start-up ends with the window hidden in the tray
call /StatusNotifierItem org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
sleep 1.5
screenshot "$scratch/shown.png"
# The window is 876 x 648: most of it differs from the background.
check "Activate shows the window" test "$(changed "$scratch/empty.png" "$scratch/shown.png")" -gt 300000
layout=$(call /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '[]')
check "the menu holds the Profiles submenu" grep -q "'label': <'Profiles'>" <<<"$layout"
check "the submenu holds the profile, with a check mark" \
  grep -q "'label': <'Racing'>, 'toggle-state': <[01]>, 'toggle-type': <'checkmark'>" <<<"$layout"
# Start at log-in: the item's id and check mark in the layout the host reads.
login_item() {  # prints "ID STATE"
  call /MenuBar com.canonical.dbusmenu.AboutToShow 0 >/dev/null
  call /MenuBar com.canonical.dbusmenu.GetLayout 0 -1 '[]' |
    grep -o "<([0-9]*, {[^}]*'label': <'Start at log-in'>, 'toggle-state': <[01]>" |
    sed "s/^<(\([0-9]*\),.*'toggle-state': <\([01]\)>$/\1 \2/"
}
click_login() { call /MenuBar com.canonical.dbusmenu.Event "$(login_item | cut -d' ' -f1)" clicked '<int32 0>' 0 >/dev/null; }
check "the menu offers Start at log-in, unchecked" test "$(login_item | cut -d' ' -f2)" = 0
click_login
check "choosing it writes the autostart entry" eventually 5 test -f "$entry"
check "desktop-file-validate accepts the entry" desktop-file-validate "$entry"
check "the entry starts this program" grep -qx "Exec=$scratch/tarnix-q8" "$entry"
check "the check mark follows" test "$(login_item | cut -d' ' -f2)" = 1
rm "$entry"
check "the check mark follows the file removed elsewhere" test "$(login_item | cut -d' ' -f2)" = 0
cp "$scratch/config.bin" "$entry"  # anything there counts: the desktop would start it
check "... and a file put there elsewhere" test "$(login_item | cut -d' ' -f2)" = 1
click_login
check "choosing it again removes the entry" eventually 5 test ! -e "$entry"
exit_from_menu "the window shown"

# A trace that cannot be written (a full disk): a box at start-up, whose loop runs while Exit is
# chosen.
start --trace=/dev/full
sleep 1.5
screenshot "$scratch/box.png"
check "a box opens at start-up" test "$(changed "$scratch/empty.png" "$scratch/box.png")" -gt 5000
exit_from_menu "a box open"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ] || { echo "--- program's errors:"; cat "$scratch/program.err"; exit 1; }
