#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a user's machine would
# meet it: the desktop entry, the AppStream data and the manual pages validate, lintian
# finds no error, and (as root) the installed programs work and removal leaves nothing.
#   packaging/check_package.sh BUILD_DIR VERSION
# Exits 77 (skipped) after the static checks when it cannot install: not root, or a
# strimlo package is already installed, which this test must not replace or remove.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$2
deb=$src/build/packages/strimlo_${version}_amd64.deb
work=$(mktemp -d)
installed=0

fail() { echo "FAILED: $*"; exit 1; }

# As root only: dpkg may be busy with another installation for a while.
run_dpkg() {
  local tries=0
  until dpkg "$@" 2>"$work/dpkg.err"; do
    if ! grep -qi 'lock' "$work/dpkg.err" || [ $((tries += 1)) -gt 60 ]; then
      cat "$work/dpkg.err"
      return 1
    fi
    sleep 5
  done
}

cleanup() {
  if [ "$installed" = 1 ]; then run_dpkg -r strimlo >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$src/scripts/package.sh" "$build" >/dev/null
[ -f "$deb" ] || fail "no package at $deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$' | sort >"$work/files"

echo "== contents"
for f in /usr/bin/strimlo /usr/bin/strimlo-cli /usr/share/applications/strimlo.desktop \
  /usr/share/icons/hicolor/scalable/apps/strimlo.svg \
  /usr/share/icons/hicolor/48x48/apps/strimlo.png \
  /usr/share/icons/hicolor/128x128/apps/strimlo.png \
  /usr/share/metainfo/org.strimlo.Strimlo.metainfo.xml \
  /usr/share/man/man1/strimlo.1.gz /usr/share/man/man1/strimlo-cli.1.gz \
  /usr/share/bash-completion/completions/strimlo-cli /usr/share/doc/strimlo/copyright; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
for side in 48 128; do
  file "$work/root/usr/share/icons/hicolor/${side}x$side/apps/strimlo.png" |
    grep -q "$side x $side" || fail "the $side px icon is not $side x $side"
done
dpkg-deb -f "$deb" Depends | grep -q 'fonts-urw-base35' || fail "no dependency on fonts-urw-base35"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies"

echo "== desktop-file-validate, appstreamcli, man"
desktop-file-validate "$work/root/usr/share/applications/strimlo.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.strimlo.Strimlo.metainfo.xml" || fail "appstreamcli validate"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

echo "== lintian"
lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' strimlo 2>/dev/null | grep -q 'installed'; then
  echo "SKIPPED: a strimlo package is already installed here; it is left alone"
  exit 77
fi

echo "== dpkg -i"
installed=1
run_dpkg -i "$deb" >/dev/null || fail "dpkg -i failed"
# Read whole before grep looks at it: grep -q stops at the first match, and under
# pipefail a help text longer than one pipe write would then fail on SIGPIPE.
help=$(/usr/bin/strimlo-cli --help) || fail "strimlo-cli --help"
grep -q -- '--type' <<<"$help" || fail "strimlo-cli --help"
/usr/bin/strimlo-cli -o "$work/label.png" 401234567890
zbarimg -q "$work/label.png" | grep -qx 'EAN-13:4012345678901' || fail "the installed strimlo-cli"
env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a /usr/bin/strimlo --screenshot "$work/window.png" ||
  fail "strimlo did not start under Xvfb"
[ -s "$work/window.png" ] || fail "strimlo showed no window"

echo "== dpkg -r"
run_dpkg -r strimlo >/dev/null || fail "dpkg -r failed"
installed=0
left=$(while read -r f; do if [ -e "$f" ]; then echo "$f"; fi; done <"$work/files")
[ -z "$left" ] || fail "dpkg -r left: $left"
[ ! -e /usr/share/doc/strimlo ] || fail "dpkg -r left /usr/share/doc/strimlo"
echo "package checks passed: $(basename "$deb")"
