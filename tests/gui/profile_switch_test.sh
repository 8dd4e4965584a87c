#!/usr/bin/env bash
# The Linux tray program switches profiles as programs come to the front on a private X server:
# two profiles saved with q8ctl and a rules.ini; a second X client (xev) takes the foreground, as a
# window manager announces it (the root window's _NET_ACTIVE_WINDOW, the window's _NET_WM_PID), and
# the simulated mouse must then hold that program's profile; the program's own window in front
# changes nothing; another program in front brings the default profile back. Apply with a profile
# active saves into it: the profile comes back as applied. A real Windows program under Wine
# (Wine's notepad, in a Wine prefix of the test's own) meets its .exe rule, written in another
# letter case; no active window brings the default profile.
#   profile_switch_test.sh BUILD_DIR [SCREENSHOT]
build=$1
screenshot=${2:-}
. "$(dirname "$0")/../support/program-test.sh"
copy_program "$build" tarnix-q8 q8ctl config.bin str.ini
start_x_server
export WINEPREFIX=$scratch/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
at_exit 'command -v wineserver >/dev/null && wineserver -k 2>/dev/null'

q8ctl() { "$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" "$@" >/dev/null; }
rate() { od -An -tu1 -N1 "$scratch/mouse-state.bin" | tr -d ' '; }
# Waits up to five seconds for the mouse's report-rate code to become $1.
rate_is() { [ "$(rate)" = "$1" ]; }
rate_becomes() { wait_for 5 "report-rate code $1 in the mouse" rate_is "$1"; }
# What a window manager does when a window comes to the front.
bring_to_front() {  # bring_to_front WINDOW PID
  xprop -id "$1" -f _NET_WM_PID 32c -set _NET_WM_PID "$2"
  xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$1"
}

config=(--config "$scratch/config.bin")
q8ctl set "${config[@]}" report-rate 250 && q8ctl profile "${config[@]}" save Racing
q8ctl set "${config[@]}" report-rate 500 && q8ctl profile "${config[@]}" save Desktop
q8ctl set "${config[@]}" report-rate 1000 && q8ctl profile "${config[@]}" save Writing
check "three profiles saved" test -f "$scratch/profiles/Racing.ini" -a -f "$scratch/profiles/Desktop.ini" -a -f "$scratch/profiles/Writing.ini"
printf '[Rules]\nxev=Racing\nNOTEPAD.EXE=Writing\n[Default]\nProfile=Desktop\n' >"$scratch/profiles/rules.ini"
q8ctl set "${config[@]}" report-rate 1000
check "the mouse starts at 1000 Hz (code 1)" test "$(rate)" = 1

"$scratch/tarnix-q8" --simulate="$scratch/mouse-state.bin" &
program=$!
keep $program
window=$(window_named 30 "^Tarnix Q8$")
check "the tray program's window opens" test -n "$window"

xev -name other-program >/dev/null &
game=$!
keep $game
other=$(window_named 30 "^other-program$")
check "the second X client's window opens" test -n "$other"
bring_to_front "$other" "$game"
check "xev in front: the mouse holds Racing (250 Hz, code 4)" rate_becomes 4
racing=$("$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" profile "${config[@]}" show Racing)
shown=$("$scratch/q8ctl" --simulate="$scratch/mouse-state.bin" show "${config[@]}")
check "config.bin holds Racing" test "$racing" = "$shown"
[ -z "$screenshot" ] || import -window root "$screenshot"

bring_to_front "$window" "$program"
sleep 1
check "the tray program's own window in front changes nothing" test "$(rate)" = 4

sleep 300 &
keep $!
bring_to_front "$other" "$!"  # the same window, now told to be another program's
check "another program in front: the default profile, Desktop (500 Hz, code 2)" rate_becomes 2

# Apply over the active profile: Racing in front, 125 Hz chosen on the page and applied; after
# Desktop, Racing comes back as applied.
bring_to_front "$other" "$game"
check "xev in front again: Racing (code 4)" rate_becomes 4
eval "$(xdotool getwindowgeometry --shell "$window")"
press() {  # a press at (x, y) of the window's client area, after the pointer has rested there
  xdotool mousemove $((X + $1)) $((Y + $2))
  sleep 0.2
  xdotool click 1
  sleep 0.4
}
press 577 209  # 125 Hz
press 700 633  # Apply
check "Apply writes 125 Hz (code 8)" rate_becomes 8
bring_to_front "$other" "${kept[-1]}"  # the sleep: another program
check "another program: Desktop (code 2)" rate_becomes 2
bring_to_front "$other" "$game"
check "Racing again holds what was applied (code 8)" rate_becomes 8

wine notepad >/dev/null 2>&1 &
keep $!
notepad=$(window_named 60 "Notepad")
check "Wine's notepad opens" test -n "$notepad"
# Wine names the window's process itself (_NET_WM_PID): only the active window is set here.
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$notepad"
check "notepad.exe under Wine in front: Writing (code 1)" rate_becomes 1
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW 0
check "no active window: the default profile, Desktop (code 2)" rate_becomes 2
check "the tray program runs on" kill -0 "$program"

finish
