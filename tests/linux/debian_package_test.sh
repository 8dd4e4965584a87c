#!/usr/bin/env bash
# The Debian package as users get it: made by CPack from the (release) build, then checked the
# way Debian checks packages: lintian finds no error, appstreamcli accepts the metainfo file; the
# udev rule sits in the packages' folder, the maintainer scripts apply it (only where udev runs),
# the documents, the licence and the font dependency are there; the manual pages render and q8ctl's
# completions for bash, zsh and fish complete `profile load` with the profiles that exist.
#   debian_package_test.sh BUILD_DIR
build=$1
. "$(dirname "$0")/../support/program-test.sh"
out=$scratch

if ! (cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1); then
  cat "$out/cpack.log"
  echo "FAILED: cpack could not make the package"
  exit 1
fi
deb=$(ls "$out"/*.deb)

lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1
status=$?
grep -E '^[EW]:' "$out/lintian.txt"
check "lintian reports no error" test "$status" -eq 0
check "lintian finds a manual page for every program" \
  test -z "$(grep -E 'binary-without-manpage|manpage' "$out/lintian.txt")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
has() { grep -qx "$1" <<<"$contents"; }
check "the udev rule is in /usr/lib/udev/rules.d" has ./usr/lib/udev/rules.d/70-tarnix-q8.rules
check "nothing goes to /etc" test -z "$(grep '^\./etc/' <<<"$contents")"
check "the copyright file is there" has ./usr/share/doc/tarnix-q8/copyright
check "the changelog is there" has ./usr/share/doc/tarnix-q8/changelog.gz
check "the AppStream file is there" has ./usr/share/metainfo/com.tarnix.q8.metainfo.xml

dpkg-deb -x "$deb" "$out/root"
check "appstreamcli accepts the metainfo file" \
  appstreamcli validate --no-net "$out/root/usr/share/metainfo/com.tarnix.q8.metainfo.xml"
check "the metainfo file names the menu entry the package installs" \
  test -f "$out/root/usr/share/applications/$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' \
    "$out/root/usr/share/metainfo/com.tarnix.q8.metainfo.xml")"

check "the menu entry is valid" desktop-file-validate "$out/root/usr/share/applications/tarnix-q8.desktop"
check "the menu entry names the program by its path (KWin's window list needs it)" \
  grep -qx "Exec=/usr/bin/tarnix-q8" "$out/root/usr/share/applications/tarnix-q8.desktop"
for page in q8ctl tarnix-q8; do
  check "$page(1) is in the package" has "./usr/share/man/man1/$page.1.gz"
  rendered=$(MANWIDTH=80 man --warnings -l "$out/root/usr/share/man/man1/$page.1.gz" 2>&1)
  check "man -l renders $page(1) without a warning" grep -q "^NAME" <<<"$rendered"
  check "... which has its options" grep -q -- "--simulate\[=STATE_FILE\]" <<<"$rendered"
  check "... and no warning" test -z "$(grep -i 'warning' <<<"$rendered")"
done
check "q8ctl(1) names every command of --help" \
  test -z "$("$build/q8ctl" --help | sed -n '/^commands:/,/^$/p' | awk 'NF>0 && $1 !~ /:/ {print $1}' |
    sort -u | while read -r command; do
      zcat "$out/root/usr/share/man/man1/q8ctl.1.gz" | grep -q "^\.B $command" || echo "$command"; done)"

# tarnix-q8's answers that need no display (Qt would end the program without one).
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$build/tarnix-q8" --help 2>&1)
check "tarnix-q8 --help answers without a display" grep -q "^usage: tarnix-q8" <<<"$help"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$build/tarnix-q8" --version 2>&1)
check "tarnix-q8 --version answers without a display ($version)" test "$version" = "tarnix-q8 $(
  "$build/q8ctl" --version | cut -d' ' -f2)"

# The completions, against profiles saved beside a copy of q8ctl (its default config.bin).
tool=$out/tool
mkdir "$tool"
cp "$build/q8ctl" "$build/config.bin" "$build/str.ini" "$tool/"
"$tool/q8ctl" profile save Racing >/dev/null && "$tool/q8ctl" profile save "Late Night" >/dev/null
expected=$'Late Night\nRacing'
completions=$out/root/usr/share
bash_says=$(bash -c 'source "$1"; COMP_WORDS=("$2" profile load ""); COMP_CWORD=3; _q8ctl
  printf "%s\n" "${COMPREPLY[@]}" | sort' - "$completions/bash-completion/completions/q8ctl" "$tool/q8ctl")
check "bash completes 'profile load' with the profiles (got: $bash_says)" test "$bash_says" = "$expected"
bash_says=$(bash -c 'source "$1"; COMP_WORDS=("$2" pro); COMP_CWORD=1; _q8ctl
  printf "%s\n" "${COMPREPLY[@]}"' - "$completions/bash-completion/completions/q8ctl" "$tool/q8ctl")
check "bash completes a command (got: $bash_says)" test "$bash_says" = profile
if command -v fish >/dev/null; then
  fish_says=$(cd "$tool" && fish -c "source '$completions/fish/vendor_completions.d/q8ctl.fish'
    complete -C './q8ctl profile load '" | sort)
  check "fish completes 'profile load' with the profiles (got: $fish_says)" test "$fish_says" = "$expected"
fi
if command -v zsh >/dev/null; then
  # zsh's completion system, driven in a pseudo-terminal: a Tab after 'profile load ' lists them.
  zsh_says=$(ZDOTDIR=$out zsh -f -c '
    zmodload zsh/zpty
    zpty z zsh -f -i
    zpty -w z "PS1=; fpath=($1 \$fpath); autoload -U compinit; compinit -u -D"
    zpty -w z "cd $2"
    zpty -n -w z "./q8ctl profile load "$'"'"'\t'"'"'
    sleep 2
    out=
    while zpty -r -t z line 2>/dev/null; do out+=$line; done
    print -r -- "$out"' - "$completions/zsh/vendor-completions" "$tool" 2>/dev/null)
  check "zsh completes 'profile load' with the profiles" \
    grep -q 'Late\\ Night  *Racing' <<<"$zsh_says"
fi

dpkg-deb -e "$deb" "$out/control"
check "postinst is executable" test -x "$out/control/postinst"
check "postinst reloads the rules" grep -q "udevadm control --reload-rules" "$out/control/postinst"
check "postinst applies them to the hidraw nodes" \
  grep -q "udevadm trigger --subsystem-match=hidraw" "$out/control/postinst"
# postinst run with a udevadm that records its calls, under a /run of its own (a mount namespace)
# that holds udev's control socket where udev runs and nothing where it does not (a chroot, an
# image being built).
mkdir "$out/bin"
printf '#!/bin/sh\necho "$*" >>"%s/udevadm.log"\n' "$out" >"$out/bin/udevadm"
chmod +x "$out/bin/udevadm"
udevadm_calls() {  # udevadm_calls running|absent
  rm -f "$out/udevadm.log"
  unshare --mount sh -c 'mount -t tmpfs tmpfs /run && mkdir /run/udev &&
    { [ "$1" = absent ] || perl -MSocket -e "socket(S, AF_UNIX, SOCK_SEQPACKET, 0) &&
        bind(S, pack_sockaddr_un(q{/run/udev/control})) or die qq{\$!}"; } &&
    PATH="$2:$PATH" "$3" configure' - "$1" "$out/bin" "$out/control/postinst"
  cat "$out/udevadm.log" 2>/dev/null | wc -l
}
check "postinst reloads and triggers udev where it runs" test "$(udevadm_calls running)" -eq 2
check "postinst leaves udev alone where none runs" test "$(udevadm_calls absent)" -eq 0
check "postrm reloads the rules" grep -q "udevadm control --reload-rules" "$out/control/postrm"
check "the package depends on Liberation Sans" grep -q "fonts-liberation2" <(dpkg-deb -f "$deb" Depends)

finish
