#!/usr/bin/env bash
# The setup program under Wine, in a Wine prefix of its own that is removed at the end: a silent
# installation (files, Start-menu shortcut, Uninstall entry, log-on task for every account), the
# installed programs started (the tray program with the simulated mouse, its window shown from the
# tray) and ended as the setup program ends the copies of every session, an upgrade
# over a running copy that keeps the user's settings, and the silent uninstallation through the
# entry's quiet-uninstall command, which ends a running copy, removes everything else and keeps the
# settings and profiles; then "Remove my settings" asked for with /REMOVESETTINGS, which leaves no
# folder. On a private X server of its own.
#   installer_test.sh SETUP_EXE BUILD_DIR VERSION
setup=$1
build=$2
version=$3
. "$(dirname "$0")/../support/program-test.sh"

wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
if [ ! -f "$setup" ]; then
  echo "installer_test: no $setup: cmake --build --preset windows --target installer" >&2
  exit 1
fi
start_x_server

export WINEPREFIX=$scratch/prefix
# What Wine keeps outside the prefix goes to the scratch folder too: the user's XDG folders for
# menus and MIME types, which a new prefix makes, and the Wine server's folder.
export XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config TMPDIR=$scratch/tmp
mkdir -p "$TMPDIR"
export WINEDEBUG=-all
# No Mono or Gecko installer, and no menu entries on the Linux desktop for the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The prefix's Wine server and every program it ran go before the scratch folder does.
at_exit '"$wineserver" -k 2>/dev/null; "$wineserver" -w 2>/dev/null'

# A Windows command in the scratch prefix, never for more than a minute.
win() { timeout 60 "$wine64" "$@"; }
# same ACTUAL EXPECTED: whether they are equal; says both when not.
same() {
  [ "$1" = "$2" ] && return 0
  echo "  got:      $1"
  echo "  expected: $2"
  return 1
}
quietly() { "$@" >/dev/null; }
not() { ! "$@"; }

program_dir="$WINEPREFIX/drive_c/Program Files/Tarnix Q8"
program_win='C:\Program Files\Tarnix Q8'
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnix Q8.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnixQ8'
state_win="Z:${scratch//\//\\}\\mouse-state.bin"

# One value of the Uninstall entry, as `reg query` prints it.
entry_value() {
  win reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 \+REG_[A-Z_]\+ \+//p"
}
entry_exists() { win reg query "$uninstall_key" >/dev/null 2>&1; }
# The task registered with Wine's Task Scheduler (it keeps the name, not the whole definition).
registered_task() { compgen -G "$WINEPREFIX/drive_c/windows/system32/[Tt]asks/Tarnix Q8" >/dev/null; }
# Starts the installed tray program with the simulated mouse, in the background.
start_program() {
  "$wine64" "$program_win\\TarnixMouseApp.exe" "--simulate=$state_win" >/dev/null 2>&1 &
  program=$!
}
# Whether the last started program ends within SECONDS.
ends_within() { wait_exit "$1" "the tray program to end" "$program"; }
same_file() { cmp -s "$1" "$2"; }
sum() { md5sum <"$1"; }

# --- A prefix of its own, with the Task Scheduler running ------------------------------------------
# A copy of the prefix the Windows tests start from (tests/support/own-wine), else a new one.
# Wine's service manager refuses to start a service in the session that made the prefix ("Service
# database locked"); in a new session the Task Scheduler starts, as it runs on every Windows.
if [ -f "${Q8_WINE_TEMPLATE:-}/.ready" ]; then
  copy_wine_prefix "$Q8_WINE_TEMPLATE" "$WINEPREFIX"
else
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p
  win wineboot -i >/dev/null 2>&1
  "$wineserver" -k
  "$wineserver" -w
fi
"$wineserver" -p
scheduler_runs() {
  win net start schedule >/dev/null 2>&1
  win sc query schedule 2>/dev/null | grep -q RUNNING
}
wait_for 30 "Wine's Task Scheduler to start" scheduler_runs

# --- A first installation, silent ------------------------------------------------------------------
check "the silent setup program ends with 0" win "$setup" /S
check "the installed files are what the ZIP holds" \
  diff -r --exclude=Uninstall.exe --exclude=logon-task.xml "$build/setup-stage" "$program_dir"
check "the uninstaller is installed" test -f "$program_dir/Uninstall.exe"
check "the Start-menu shortcut is there" test -f "$shortcut"
check "the shortcut starts the installed program" grep -qa 'TarnixMouseApp.exe' "$shortcut"
check "Uninstall entry: display name" same "$(entry_value DisplayName)" "Tarnix Q8"
check "Uninstall entry: version" same "$(entry_value DisplayVersion)" "$version"
check "Uninstall entry: publisher" same "$(entry_value Publisher)" "Tarnix"
check "Uninstall entry: icon" same "$(entry_value DisplayIcon)" "$program_win\\TarnixMouseApp.exe,0"
check "Uninstall entry: uninstall command" \
  same "$(entry_value UninstallString)" "\"$program_win\\Uninstall.exe\""
check "Uninstall entry: quiet uninstall command" \
  same "$(entry_value QuietUninstallString)" "\"$program_win\\Uninstall.exe\" /S"
size=$(($(entry_value EstimatedSize)))
check "Uninstall entry: estimated size ($size KB) near the files' size" \
  test "$size" -ge $(($(du -sk "$program_dir" | cut -f1) / 2))

# The log-on task: registered, and its definition as the installer wrote it for the scheduler.
check "the log-on task is registered" registered_task
task=$(iconv -f UTF-16 -t UTF-8 "$program_dir/logon-task.xml" 2>/dev/null | tr -d '\r')
task_has() { grep -qF -- "$1" <<<"$task"; }
check "the task starts at log-on" task_has '<LogonTrigger>'
check "the task is for whoever logs on interactively" task_has '<GroupId>S-1-5-4</GroupId>'
check "the task names no account (not the one that installed)" not task_has '<UserId>'
check "the task runs with the highest privileges" task_has '<RunLevel>HighestAvailable</RunLevel>'
check "the task starts the installed program" \
  task_has "<Command>\"$program_win\\TarnixMouseApp.exe\"</Command>"
check "the task has no time limit" task_has '<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>'
check "the task also starts on batteries" \
  task_has '<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>'
check "each log-on starts a copy beside the copies of accounts logged on before" \
  task_has '<MultipleInstancesPolicy>Parallel</MultipleInstancesPolicy>'

# --- The installed programs run ---------------------------------------------------------------------
# Under a loaded machine Wine has once given a console program's start no output at all: what the
# first try said is shown, and it is tried once more.
q8ctl_version() {
  local out status
  out=$(win "$program_win\\q8ctl.exe" --version 2>"$scratch/q8ctl-version.err")
  status=$?
  if [ -z "$out" ]; then
    echo "  q8ctl --version printed nothing (exit status $status); its errors:"
    sed 's/^/    /' "$scratch/q8ctl-version.err"
    out=$(win "$program_win\\q8ctl.exe" --version)
  fi
  same "${out//$'\r'/}" "q8ctl $version"
}
check "the installed q8ctl tells the version" q8ctl_version
start_program
check "the installed tray program starts" win "$build/q8window.exe" wait 30
check "its window shows from the tray" grep -q 'visible$' <(win "$build/q8window.exe" show | tr -d '\r')
win "$build/q8window.exe" exit
check "it ends through the tray menu's Exit" ends_within 20

# The way the setup program and the uninstaller end the copies of every session: each copy is
# found by its file and asked to end through its end request, which reaches any session (Wine has
# one; the finder's sessions are unit-tested in win32_tests).
start_program
win "$build/q8window.exe" wait 30 >/dev/null
stopped=$(win "$build/q8stop.exe" "$program_win\\TarnixMouseApp.exe" | tr -d '\r')
check "q8stop asked the running copy to end" grep -q '^asked to end: process [0-9]* in session' <<<"$stopped"
check "the copy ended when asked, not by force" not grep -q 'force\|could not' <<<"$stopped"
check "no copy runs after q8stop" ends_within 5
check "q8stop finds no copy when none runs" \
  same "$(win "$build/q8stop.exe" "$program_win\\TarnixMouseApp.exe" | tr -d '\r')" ""

# --- An upgrade over a running copy keeps the user's settings ----------------------------------------
# The user's choices: another skin and caption colour, another report rate.
sed -e 's/^Path=.*/Path=Cobalt/' -e 's/^BColor=.*/BColor=0/' "$build/setup-stage/str.ini" \
  >"$program_dir/str.ini"
check "the user changes the report rate with q8ctl" \
  quietly win "$program_win\\q8ctl.exe" "--simulate=$state_win" set report-rate 250
echo "a stray change" >>"$program_dir/README.txt"
start_program
win "$build/q8window.exe" wait 30 >/dev/null
user_config=$(sum "$program_dir/config.bin")
user_strings=$(sum "$program_dir/str.ini")
check "the user's settings differ from the delivered ones" \
  test "$user_config" != "$(sum "$build/setup-stage/config.bin")" -a \
  "$user_strings" != "$(sum "$build/setup-stage/str.ini")"
check "the upgrade ends with 0" win "$setup" /S
check "the upgrade ended the running copy" ends_within 5
check "the upgrade kept the user's str.ini" test "$(sum "$program_dir/str.ini")" = "$user_strings"
check "the upgrade kept the user's config.bin" test "$(sum "$program_dir/config.bin")" = "$user_config"
check "the upgrade put the delivered files back" same_file "$build/setup-stage/README.txt" \
  "$program_dir/README.txt"
check "the log-on task is registered again" registered_task

# --- The silent uninstallation through the entry's command keeps the settings -------------------------
check "the user saves a profile with q8ctl" quietly win "$program_win\\q8ctl.exe" profile save Racing
printf '[Rules]\r\n' >"$program_dir/Profiles/rules.ini"
start_program
win "$build/q8window.exe" wait 30 >/dev/null
quiet_uninstall=$(entry_value QuietUninstallString)
uninstaller=${quiet_uninstall%\" /S}
uninstaller=${uninstaller#\"}
check "the quiet uninstall command starts" win "$uninstaller" /S
# The uninstaller runs on from a copy of itself in the temporary folder; the entry goes last.
entry_gone() { ! entry_exists; }
wait_for 60 "the uninstaller to remove the Uninstall entry" entry_gone
check "the Uninstall entry is gone" test -z "$(entry_value DisplayName)"
check "the uninstaller ended the running copy" ends_within 5
check "the shortcut is gone" test ! -e "$shortcut"
check "the log-on task is gone" not registered_task
check "only the settings are left" \
  same "$(cd "$program_dir" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ')" \
  "./Profiles ./Profiles/Racing.ini ./Profiles/rules.ini ./config.bin ./str.ini "
check "the settings are the user's" \
  test "$(sum "$program_dir/str.ini")-$(sum "$program_dir/config.bin")" = \
  "$user_strings-$user_config"

# --- "Remove my settings", asked for on the command line, leaves no folder ----------------------------
check "a new installation over the kept settings ends with 0" win "$setup" /S
check "the uninstaller with /REMOVESETTINGS starts" win "$program_win\\Uninstall.exe" /S /REMOVESETTINGS
check "the settings, the profiles and the folder are gone" \
  wait_for 60 "the uninstaller to remove the program's folder" test ! -e "$program_dir"

echo "installer_test: in $SECONDS s"
finish
