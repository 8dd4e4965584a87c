#!/usr/bin/env bash
# The Linux tray program on KDE Plasma's compositor: KWin with its virtual output and Xwayland,
# which tells a program its windows (org_kde_plasma_window_management) when the program's desktop
# entry asks for it (X-KDE-Wayland-Interfaces, as the package's entry does). Three profiles and a
# rules.ini: a native Wayland window (weston-flower) loads its process's profile, Wine's notepad
# under Xwayland its .exe's, a window without a rule the default profile. KWin's scripting, on the
# test's own session bus, activates the windows as a click would.
# KWin carries a file capability a container may refuse to run: the test runs a copy of it (which
# has none), named as KWin must be named to find its own platform plugin.
#   kwin_foreground_test.sh BUILD_DIR
. "$(dirname "$0")/../support/program-test.sh"
build=$1
copy_program "$build" tarnix-q8 tarnix-q8.png q8ctl config.bin str.ini
at_exit '[ -d "$scratch/wine" ] && WINEPREFIX=$scratch/wine wineserver -k 2>/dev/null'
mkdir "$scratch/kwin" "$scratch/run" "$scratch/data" "$scratch/data/applications"
chmod 700 "$scratch/run"
cp "$(command -v kwin_wayland)" "$scratch/kwin/kwin_wayland"
# The package's menu entry, naming the program where the test runs it.
sed "s|^Exec=.*|Exec=$scratch/tarnix-q8|" "$(dirname "$0")/../../linux/tarnix-q8.desktop" \
  >"$scratch/data/applications/tarnix-q8.desktop"

rate() { od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' '; }
rate_becomes() {  # rate_becomes CODE: within five seconds
  for _ in $(seq 50); do [ "$(rate)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
rate_stays() {  # rate_stays CODE: for a second and a half
  for _ in $(seq 15); do [ "$(rate)" = "$1" ] || return 1; sleep 0.1; done
}

export XDG_RUNTIME_DIR=$scratch/run DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/run/bus
export LANG=C.UTF-8 WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
unset DISPLAY WAYLAND_DISPLAY
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork >/dev/null 2>&1 &
keep $!
(cd "$scratch/kwin" && XDG_DATA_HOME=$scratch/data exec ./kwin_wayland --virtual --xwayland \
  --socket wayland-q8 --width 1280 --height 800 >"$scratch/kwin.log" 2>&1) &
kwin=$!
keep $kwin
show_on_failure "$scratch/kwin.log" "$scratch/program.err"
kwin_listens() { test -S "$scratch/run/wayland-q8"; }
wait_for 15 "KWin's Wayland socket" kwin_listens || exit 1
export WAYLAND_DISPLAY=wayland-q8

# KWin's scripting: runs a script in the compositor (print() goes to KWin's log).
kwin_script() {  # kwin_script JAVASCRIPT
  printf '%s\n' "$1" >"$scratch/script.js"
  local name=q8-$RANDOM
  gdbus call --session --dest org.kde.KWin --object-path /Scripting \
    --method org.kde.kwin.Scripting.loadScript "$scratch/script.js" "$name" >/dev/null &&
    gdbus call --session --dest org.kde.KWin --object-path /Scripting \
      --method org.kde.kwin.Scripting.start >/dev/null
}
activate() {  # activate CLASS: the window whose resource class holds CLASS
  kwin_script "const all = workspace.clientList();
for (let i = 0; i < all.length; ++i)
  if (all[i].resourceClass.indexOf('$1') >= 0) workspace.activeClient = all[i];"
}

q8ctl() { "$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" "$@" >/dev/null; }
q8ctl set report-rate 250 && q8ctl profile save Racing
q8ctl set report-rate 500 && q8ctl profile save Desktop
q8ctl set report-rate 1000 && q8ctl profile save Writing
printf '[Rules]\nweston-flower=Racing\nNOTEPAD.EXE=Writing\n[Default]\nProfile=Desktop\n' \
  >"$scratch/profiles/rules.ini"

"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" --trace="$scratch/wire.trace" \
  2>"$scratch/program.err" &
keep $!
read_whole() { [ "$(grep -c "^get page" "$scratch/wire.trace" 2>/dev/null)" -ge 5 ]; }
wait_for 20 "the start-up's read of the mouse" read_whole || exit 1
weston-flower >/dev/null 2>&1 &
keep $!
activate flower
check "a native Wayland window: its process's rule, Racing (code 4)" rate_becomes 4
weston-clickdot >/dev/null 2>&1 &
keep $!
sleep 1
activate clickdot
check "a window without a rule: the default profile, Desktop (code 2)" rate_becomes 2
activate flower
check "the first window again: Racing (code 4)" rate_becomes 4

# KWin's own Xwayland, its child.
DISPLAY=$(ps -o args= --ppid "$kwin" | sed -n 's/^[^ ]*Xwayland \(:[0-9]*\) .*/\1/p' | head -n 1) wine notepad >/dev/null 2>&1 &
keep $!
notepad_there() { kwin_script "const all = workspace.clientList();
for (let i = 0; i < all.length; ++i) print('q8client ' + all[i].resourceClass);" &&
  sleep 0.3 && grep -aq 'q8client notepad.exe' "$scratch/kwin.log"; }
check "Wine's notepad opens under Xwayland" wait_for 60 "notepad under Xwayland" notepad_there
activate notepad.exe
check "notepad.exe under Xwayland: its .exe's rule, Writing (code 1)" rate_becomes 1
activate flower
check "the native window again: Racing (code 4)" rate_becomes 4

finish
