#!/usr/bin/env bash
# The Linux tray program on a wlroots desktop: sway's headless compositor with Xwayland, which
# publishes its windows (zwlr_foreign_toplevel_manager_v1). Three profiles and a rules.ini; a
# native Wayland window (foot, with an app_id of the test's) loads its app_id's profile, Wine's
# notepad under Xwayland its .exe's (a rule in another letter case), a window without a rule the
# default profile, the program's own window nothing; a moment with nothing in front (a switch to
# an empty workspace and back) loads nothing, a lasting one the default profile. With swaybar's
# notification area on a session bus, the tray menu the bar asks for opens as a small floating
# window (grim's screenshot), and its Start at log-in writes and removes the autostart entry.
# sway refuses to run as root: the test makes an account of its own and removes it at the end.
#   sway_foreground_test.sh BUILD_DIR [SCREENSHOT_DIR]
set -uo pipefail
build=$1
shots=${2:-}
account=q8sway$$
scratch=$(mktemp -d)
chmod 755 "$scratch"
home=$scratch/home
run=$scratch/run
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  # Wine's server outlives its programs for a moment; told to go, it goes (waited for ten
  # seconds at most).
  if [ -d "$home/wine" ]; then
    exec_as_user wineserver -k >/dev/null 2>&1 &
    local killer=$!
    for _ in $(seq 100); do kill -0 "$killer" 2>/dev/null || break; sleep 0.1; done
    kill "$killer" 2>/dev/null
  fi
  wait 2>/dev/null
  userdel "$account" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
if ! useradd --system --no-create-home --home-dir "$home" --shell /bin/sh "$account" 2>/dev/null; then
  echo "FAILED: an account of the test's own could not be made (run as root)"
  exit 1
fi
mkdir -p "$home" "$run"
cp "$build/tarnix-q8" "$build/tarnix-q8.png" "$build/q8ctl" "$build/config.bin" "$build/str.ini" "$home/"
cp -r "$build/Skins" "$home/Skins"
printf 'xwayland enable\noutput HEADLESS-1 resolution 1280x800 bg #204060 solid_color\n' >"$home/sway.conf"
printf 'bar {\n  position top\n  tray_output *\n}\nexec env >%s/sway-env\n' "$home" >>"$home/sway.conf"
chown -R "$account" "$home" "$run"
chmod 700 "$run"

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
# Runs a command as the account, in sway's session (its displays, its IPC socket, the bus), in place
# of the shell that calls it: started with `exec_as_user ... &`, $! is the command's own id.
exec_as_user() {
  cd "$home" && exec setpriv --reuid="$account" --regid="$(id -g "$account")" --clear-groups \
    env -i ASAN_OPTIONS=detect_leaks=0 LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$run" \
    PATH=/usr/bin:/bin DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus" WINEPREFIX="$home/wine" \
    WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
    $(grep -E '^(DISPLAY|WAYLAND_DISPLAY|SWAYSOCK)=' "$home/sway-env" 2>/dev/null) "$@"
}
as_user() { (exec_as_user "$@"); }
swaymsg() { as_user swaymsg "$@" >/dev/null; }
tree() { as_user swaymsg -t get_tree; }
rate() { od -An -tu1 -N1 "$home/mouse-state.bin" | tr -d ' '; }
rate_becomes() {  # rate_becomes CODE: within five seconds
  for _ in $(seq 50); do [ "$(rate)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
rate_stays() {  # rate_stays CODE: for a second and a half
  for _ in $(seq 15); do [ "$(rate)" = "$1" ] || return 1; sleep 0.1; done
}

exec_as_user dbus-daemon --session --address="unix:path=$run/bus" --nofork >/dev/null 2>&1 &
pids+=($!)
exec_as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$home/sway.conf" >"$scratch/sway.log" 2>&1 &
pids+=($!)
eventually 10 test -s "$home/sway-env" ||
  { echo "FAILED: sway starts"; cat "$scratch/sway.log"; exit 1; }

q8ctl() { as_user ./q8ctl --simulate="$home/mouse-state.bin" "$@" >/dev/null; }
q8ctl set report-rate 250 && q8ctl profile save Racing
q8ctl set report-rate 500 && q8ctl profile save Desktop
q8ctl set report-rate 1000 && q8ctl profile save Writing
printf '[Rules]\nq8-native=Racing\nNOTEPAD.EXE=Writing\n[Default]\nProfile=Desktop\n' >"$home/profiles/rules.ini"
check "the mouse starts at 1000 Hz (code 1)" test "$(rate)" = 1

exec_as_user ./tarnix-q8 --simulate="$home/mouse-state.bin" >/dev/null 2>"$scratch/program.err" &
pids+=($!)
program=$!
has_tray_item() { as_user gdbus call --session --dest org.kde.StatusNotifierWatcher \
  --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -q "'[^']"; }
check "the tray item registers with swaybar" eventually 10 has_tray_item
check "nothing in front at start-up that lasts: the default profile, Desktop (code 2)" rate_becomes 2

exec_as_user foot --app-id=q8-native >/dev/null 2>&1 &
pids+=($!)
check "a native Wayland window with an app_id rule: Racing (code 4)" rate_becomes 4
exec_as_user foot --app-id=q8-other >/dev/null 2>&1 &
pids+=($!)
check "a native window without a rule: the default profile (code 2)" rate_becomes 2
swaymsg '[app_id="q8-native"] focus'
check "the first window again: Racing (code 4)" rate_becomes 4
swaymsg 'workspace 2; workspace 1'
check "a moment with nothing in front loads nothing" rate_stays 4
swaymsg 'workspace 2'
check "nothing in front that lasts: the default profile (code 2)" rate_becomes 2
swaymsg 'workspace 1'
check "back to the first window: Racing (code 4)" rate_becomes 4

exec_as_user wine notepad >/dev/null 2>&1 &
pids+=($!)
notepad_there() { tree | grep -q '"class": "notepad.exe"'; }
check "Wine's notepad opens under Xwayland" eventually 60 notepad_there
swaymsg '[class="notepad.exe"] focus'
check "notepad.exe under Xwayland: its .exe's rule, Writing (code 1)" rate_becomes 1

# The tray menu, as swaybar asks for it (a right click on the icon calls ContextMenu).
item=$(as_user gdbus call --session --dest org.kde.StatusNotifierWatcher \
  --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems | grep -o "'[^']*'" | head -n 1 | tr -d "'")
service=${item%%/*}
as_user gdbus call --session --dest "$service" --object-path /StatusNotifierItem \
  --method org.kde.StatusNotifierItem.ContextMenu 600 10 >/dev/null
menu_floats() { tree | grep -A40 '"floating_nodes"' | grep -q '"app_id": "tarnix-q8"'; }
check "the tray menu opens as a floating window" eventually 5 menu_floats
check "... and the menu leaves the profile as it is" rate_stays 1
if [ -n "$shots" ]; then
  sleep 0.5
  as_user grim "$home/sway-tray-menu.png" && cp "$home/sway-tray-menu.png" "$shots/"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ] || { echo "--- program's errors:"; cat "$scratch/program.err"; exit 1; }
