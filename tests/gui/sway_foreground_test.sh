#!/usr/bin/env bash
# The Linux tray program on a wlroots desktop: sway's headless compositor with Xwayland, which
# publishes its windows (zwlr_foreign_toplevel_manager_v1). Three profiles and a rules.ini; a
# native Wayland window (foot, with an app_id of the test's) loads its app_id's profile, Wine's
# notepad under Xwayland its .exe's (a rule in another letter case), a window without a rule the
# default profile, the program's own window nothing; a moment with nothing in front (a switch to
# an empty workspace and back) loads nothing, a lasting one the default profile. With swaybar's
# notification area on a session bus, the tray menu the bar asks for opens as a small floating
# window (grim's screenshot).
# sway refuses to run as root: the test makes an account of its own and removes it at the end.
#   sway_foreground_test.sh BUILD_DIR [SCREENSHOT_DIR]
. "$(dirname "$0")/../support/program-test.sh"
build=$1
shots=${2:-}
remove_left_accounts q8sway
account=q8sway$$
chmod 755 "$scratch"  # the account reaches its home below it
home=$scratch/home
run=$scratch/run
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
# Wine's server outlives its programs for a moment; told to go, it goes (waited for ten seconds at
# most). Then the account goes.
end_wine_server() {
  [ -d "$home/wine" ] || return 0
  exec_as_user wineserver -k >/dev/null 2>&1 &
  local killer=$!
  for _ in $(seq 100); do kill -0 "$killer" 2>/dev/null || break; sleep 0.1; done
  kill "$killer" 2>/dev/null
}
at_exit end_wine_server
at_exit 'userdel "$account" 2>/dev/null' 
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
keep $!
exec_as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$home/sway.conf" >"$scratch/sway.log" 2>&1 &
keep $!
show_on_failure "$scratch/sway.log" "$scratch/program.err"
sway_started() { test -s "$home/sway-env"; }
wait_for 10 "sway to start (its environment written)" sway_started || exit 1

q8ctl() { as_user ./q8ctl --simulate="$home/mouse-state.bin" "$@" >/dev/null; }
q8ctl set report-rate 250 && q8ctl profile save Racing
q8ctl set report-rate 500 && q8ctl profile save Desktop
q8ctl set report-rate 1000 && q8ctl profile save Writing
printf '[Rules]\nq8-native=Racing\nNOTEPAD.EXE=Writing\n[Default]\nProfile=Desktop\n' >"$home/profiles/rules.ini"
check "the mouse starts at 1000 Hz (code 1)" test "$(rate)" = 1

exec_as_user ./tarnix-q8 --simulate="$home/mouse-state.bin" >/dev/null 2>"$scratch/program.err" &
keep $!
program=$!
has_tray_item() { as_user gdbus call --session --dest org.kde.StatusNotifierWatcher \
  --object-path /StatusNotifierWatcher --method org.freedesktop.DBus.Properties.Get \
  org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -q "'[^']"; }
check "the tray item registers with swaybar" wait_for 10 "the tray item" has_tray_item
check "nothing in front at start-up that lasts: the default profile, Desktop (code 2)" rate_becomes 2

exec_as_user foot --app-id=q8-native >/dev/null 2>&1 &
keep $!
check "a native Wayland window with an app_id rule: Racing (code 4)" rate_becomes 4
exec_as_user foot --app-id=q8-other >/dev/null 2>&1 &
keep $!
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
keep $!
notepad_there() { tree | grep -q '"class": "notepad.exe"'; }
check "Wine's notepad opens under Xwayland" wait_for 60 "notepad under Xwayland" notepad_there
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
check "the tray menu opens as a floating window" wait_for 5 "the floating menu" menu_floats
check "... and the menu leaves the profile as it is" rate_stays 1
if [ -n "$shots" ]; then
  sleep 0.5
  as_user grim "$home/sway-tray-menu.png" && cp "$home/sway-tray-menu.png" "$shots/"
fi

finish
