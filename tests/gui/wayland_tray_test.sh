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
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/program-test.sh"
copy_program "$build" tarnix-q8 tarnix-q8.png q8ctl config.bin str.ini
export WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland
export XDG_CONFIG_HOME=$scratch/config
entry=$XDG_CONFIG_HOME/autostart/tarnix-q8.desktop
unset DISPLAY

# A plain background, no panel: a shown window is the only thing on the screen.
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff204060\n' \
  >"$scratch/weston.ini"
weston --backend=headless-backend.so --use-pixman --debug --socket="$WAYLAND_DISPLAY" \
  --width=1400 --height=1000 --config="$scratch/weston.ini" >"$scratch/weston.log" 2>&1 &
keep $!
show_on_failure "$scratch/weston.log"
start_session_bus
wait_for 10 "weston" test -S "$scratch/$WAYLAND_DISPLAY" || exit 1
/usr/bin/python3 "$here/status_notifier_watcher.py" >"$scratch/items" 2>"$scratch/watcher.err" &
keep $!
wait_for 10 "the notification area (the watcher) to start" grep -q ready "$scratch/items" ||
  { cat "$scratch/watcher.err"; exit 1; }
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
changed() {  # changed A B: the number of pixels that differ (ImageMagick may write 1.4e+06)
  compare -metric AE "$1" "$2" null: 2>&1 | awk '{ printf "%d\n", $1 }'
}
start() {  # start ARGS...: the program, until its tray item has registered
  local before
  before=$(wc -l <"$scratch/items")
  "$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" "$@" 2>>"$scratch/program.err" &
  program=$!
  keep $program
  registered() { [ "$(wc -l <"$scratch/items")" -gt "$before" ]; }
  check "the tray item registers with the watcher" \
    wait_for 10 "the tray item to register with the watcher" registered
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
  if wait_exit 5 "$1: the program to end on Exit" "$program"; then
    check "$1: Exit ends the program with exit code 0 (got $exit_status)" test "$exit_status" -eq 0
  else
    check "$1: Exit ends the program" false
  fi
}

# The empty screen once weston has painted its background.
painted() {
  screenshot "$scratch/empty.png" &&
    convert "$scratch/empty.png" -crop 1x1+10+10 -depth 8 txt:- | grep -qi "#204060"
}
wait_for 10 "weston's background on a screenshot" painted || exit 1
start --trace="$scratch/wire.trace"
menu=$(call /StatusNotifierItem org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu)
check "the item names its menu (not /NO_DBUSMENU): $menu" grep -q "'/MenuBar'" <<<"$menu"
# The start-up reads the mouse (its five pages), then hides the window in the tray.
read_whole() { [ "$(grep -c "^get page" "$scratch/wire.trace")" -ge 5 ]; }
wait_for 10 "the mouse read at start-up" read_whole
sleep 0.3
call /StatusNotifierItem org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
# The window is 876 x 648: most of it differs from the background.
shows() {  # shows PICTURE PIXELS: a screenshot differs from the empty screen in PIXELS or more
  screenshot "$1" && [ "$(changed "$scratch/empty.png" "$1")" -gt "$2" ]
}
check "Activate shows the window" wait_for 10 "the window on the screen" shows "$scratch/shown.png" 300000
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
check "choosing it writes the autostart entry" wait_for 5 "the autostart entry written" test -f "$entry"
check "desktop-file-validate accepts the entry" desktop-file-validate "$entry"
check "the entry starts this program" grep -qx "Exec=$scratch/tarnix-q8 --at-log-in" "$entry"
check "the check mark follows" test "$(login_item | cut -d' ' -f2)" = 1
rm "$entry"
check "the check mark follows the file removed elsewhere" test "$(login_item | cut -d' ' -f2)" = 0
cp "$scratch/config.bin" "$entry"  # anything there counts: the desktop would start it
check "... and a file put there elsewhere" test "$(login_item | cut -d' ' -f2)" = 1
click_login
check "choosing it again removes the entry" wait_for 5 "the autostart entry removed" test ! -e "$entry"
exit_from_menu "the window shown"

# A trace that cannot be written (a full disk): a box at start-up, whose loop runs while Exit is
# chosen.
start --trace=/dev/full
check "a box opens at start-up" wait_for 10 "the box on the screen" shows "$scratch/box.png" 5000
exit_from_menu "a box open"

[ "$failures" -eq 0 ] || { echo "--- program's errors:"; cat "$scratch/program.err"; }
finish
