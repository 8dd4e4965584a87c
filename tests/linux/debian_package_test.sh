#!/usr/bin/env bash
# The Debian package as users get it: made by CPack from the (release) build, then checked the
# way Debian checks packages: lintian finds no error, appstreamcli accepts the metainfo file; the
# udev rule sits in the packages' folder, the maintainer scripts apply it (only where udev runs),
# the documents, the licence and the font dependency are there.
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
