#!/usr/bin/env bash
# Builds the Debian packages from a build folder and checks them as a user's machine would
# meet them: the desktop entry, the AppStream data and the manual pages validate, lintian
# finds no error in any package, and (as root) the installed programs work, the Python
# module imports and renders, a C program builds with pkg-config and runs, and purging
# leaves nothing.
#   packaging/check_package.sh BUILD_DIR VERSION PACKAGE...
# STRIMLO_PACKAGE_BUILD names another build folder to package instead: ./test sets it to
# the one scripts/package.sh built, so the packages checked are the ones the README installs.
# PACKAGEs: those the build makes: strimlo, and libstrimlo1, libstrimlo-dev and
# python3-strimlo where the library and the Python module were built.
# Exits 77 (skipped) after the static checks when it cannot install: not root, or one of
# the packages is already installed, which this test must not replace or remove.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${STRIMLO_PACKAGE_BUILD:-$1}" && pwd)
version=$2
shift 2
packages=("${@:-strimlo}")
debs=()
for p in "${packages[@]}"; do debs+=("$src/build/packages/${p}_${version}_amd64.deb"); done
deb=$src/build/packages/strimlo_${version}_amd64.deb
work=$(mktemp -d)
installed=0

fail() { echo "FAILED: $*"; exit 1; }
has() { [[ " ${packages[*]} " == *" $1 "* ]]; }

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
  if [ "$installed" = 1 ]; then run_dpkg -P "${packages[@]}" >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$src/scripts/package.sh" "$build" >/dev/null
for d in "${debs[@]}"; do
  [ -f "$d" ] || fail "no package at $d"
  dpkg-deb -x "$d" "$work/root"
  dpkg-deb -c "$d" | awk '{print substr($6, 2)}' | grep -v '/$' >>"$work/files"
done
sort -o "$work/files" "$work/files"

echo "== contents"
for f in /usr/bin/strimlo /usr/bin/strimlo-cli /usr/share/applications/strimlo.desktop \
  /usr/share/icons/hicolor/scalable/apps/strimlo.svg \
  /usr/share/icons/hicolor/48x48/apps/strimlo.png \
  /usr/share/icons/hicolor/128x128/apps/strimlo.png \
  /usr/share/metainfo/org.strimlo.Strimlo.metainfo.xml \
  /usr/share/man/man1/strimlo.1.gz /usr/share/man/man1/strimlo-cli.1.gz \
  /usr/share/bash-completion/completions/strimlo-cli /usr/share/doc/strimlo/copyright \
  /usr/bin/strimlo-server /usr/share/man/man1/strimlo-server.1.gz /lib/systemd/system/strimlo-server.service; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
for side in 48 128; do
  file "$work/root/usr/share/icons/hicolor/${side}x$side/apps/strimlo.png" |
    grep -q "$side x $side" || fail "the $side px icon is not $side x $side"
done
dpkg-deb -f "$deb" Depends | grep -q 'fonts-urw-base35' || fail "no dependency on fonts-urw-base35"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ocr-b' || fail "no dependency on fonts-ocr-b"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies"
dpkg-deb -f "$deb" Depends | grep -q 'libzint' || fail "no dependency on libzint, which encodes the 2D symbols"
for p in "${packages[@]}"; do
  grep -qx "/usr/share/doc/$p/copyright" "$work/files" || fail "$p lacks its copyright file"
done
if has libstrimlo1; then
  grep -Eq '^/usr/lib/([^/]+/)?libstrimlo\.so\.1(\.|$)' "$work/files" || fail "libstrimlo1 lacks libstrimlo.so.1"
  dpkg-deb -I "$src/build/packages/libstrimlo1_${version}_amd64.deb" shlibs |
    grep -q '^libstrimlo 1 libstrimlo1' || fail "libstrimlo1 has no shlibs entry"
fi
if has libstrimlo-dev; then
  for f in /usr/include/strimlo/strimlo.h '/usr/lib/([^/]+/)?libstrimlo\.so' \
    '/usr/(lib/([^/]+/)?|share/)pkgconfig/strimlo\.pc'; do
    grep -Eqx "$f" "$work/files" || fail "libstrimlo-dev lacks $f"
  done
fi
if has python3-strimlo; then
  for f in __init__.py __init__.pyi py.typed '_strimlo\..*\.so'; do
    grep -Eqx "/usr/lib/python3/dist-packages/strimlo/$f" "$work/files" || fail "python3-strimlo lacks $f"
  done
fi

echo "== desktop-file-validate, appstreamcli, man"
desktop-file-validate "$work/root/usr/share/applications/strimlo.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.strimlo.Strimlo.metainfo.xml" || fail "appstreamcli validate"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

echo "== lintian"
for d in "${debs[@]}"; do
  lintian --fail-on error "$d" 2>&1 | grep -v 'root privileges' || true
  lintian --fail-on error "$d" >/dev/null 2>&1 || fail "lintian reports errors in $(basename "$d")"
done

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: installing needs root"
  exit 77
fi
for p in "${packages[@]}"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'installed'; then
    echo "SKIPPED: a $p package is already installed here; it is left alone"
    exit 77
  fi
done

echo "== dpkg -i"
installed=1
run_dpkg -i "${debs[@]}" >/dev/null || fail "dpkg -i failed"
# Through a file: grep -q leaves at its first match, and under pipefail the help's later
# writes into the closed pipe would count as a failure.
/usr/bin/strimlo-cli --help >"$work/help" || fail "strimlo-cli --help"
grep -q -- '--type' "$work/help" || fail "strimlo-cli --help names no --type"
/usr/bin/strimlo-cli -o "$work/label.png" 401234567890
zbarimg -q "$work/label.png" | grep -qx 'EAN-13:4012345678901' || fail "the installed strimlo-cli"
# The service: through systemd where it runs here, else the program as the unit starts it.
if [ -d /run/systemd/system ] && systemctl start strimlo-server 2>/dev/null; then
  server_url=http://127.0.0.1:8080
else
  /usr/bin/strimlo-server --listen 127.0.0.1:0 --quiet >"$work/server.out" &
  server_pid=$!
  for _ in $(seq 50); do [ -s "$work/server.out" ] && break; sleep 0.1; done
  server_url=$(sed -n 's|.*listening on \(http://[^/]*\)/.*|\1|p' "$work/server.out")
fi
curl -sf -o "$work/served.png" "$server_url/api/v1/symbol?data=401234567890&format=png" ||
  fail "the installed strimlo-server did not answer"
zbarimg -q "$work/served.png" | grep -qx 'EAN-13:4012345678901' || fail "the installed strimlo-server"
if [ -n "${server_pid:-}" ]; then kill "$server_pid"; wait "$server_pid" || true; else systemctl stop strimlo-server; fi
env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a /usr/bin/strimlo --screenshot "$work/window.png" ||
  fail "strimlo did not start under Xvfb"
[ -s "$work/window.png" ] || fail "strimlo showed no window"

# The README's examples against the installed packages, each in a folder of its own; both
# of their files must read back as the ISBN and its add-on.
read_covers() {  # FOLDER WHO
  pdftoppm -r 300 -gray -png -singlefile "$1/cover.pdf" "$1/pdf"
  rsvg-convert -d 300 -p 300 -b white -o "$1/svg.png" "$1/cover.svg"
  for image in pdf svg; do
    found=$(zbarimg --nodbus -q --raw -Sean5.enable "$1/$image.png" 2>/dev/null | sort | tr '\n' ' ')
    [ "$found" = "51299 9783161484100 " ] || fail "$2: cover.$image reads '$found'"
  done
}
if has python3-strimlo; then
  echo "== examples/isbn.py"
  mkdir "$work/py"
  # Debian's interpreter, with no search path of ours: the installed module.
  (cd "$work/py" && env -u PYTHONPATH /usr/bin/python3 -c 'import strimlo; print(strimlo.__file__)') |
    grep -q '^/usr/lib/python3/dist-packages/strimlo/' || fail "python3 does not import the installed module"
  (cd "$work/py" && env -u PYTHONPATH /usr/bin/python3 "$src/examples/isbn.py" >/dev/null) ||
    fail "examples/isbn.py failed"
  read_covers "$work/py" examples/isbn.py
fi
if has libstrimlo-dev; then
  echo "== examples/isbn.c, cc \$(pkg-config --cflags --libs strimlo)"
  [ "$(pkg-config --variable=prefix strimlo)" = /usr ] ||
    fail "strimlo.pc names the prefix $(pkg-config --variable=prefix strimlo), not /usr"
  mkdir "$work/c"
  # shellcheck disable=SC2046 # the flags are separate words
  cc -Wall -Wextra -Werror -o "$work/c/isbn" "$src/examples/isbn.c" \
    $(pkg-config --cflags --libs strimlo) || fail "examples/isbn.c does not build"
  (cd "$work/c" && ./isbn >/dev/null) || fail "examples/isbn.c failed"
  read_covers "$work/c" examples/isbn.c
fi

echo "== dpkg -P"
run_dpkg -P "${packages[@]}" >/dev/null || fail "dpkg -P failed"
installed=0
left=$(while read -r f; do if [ -e "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done <"$work/files")
[ -z "$left" ] || fail "dpkg -P left: $left"
for p in "${packages[@]}"; do
  [ ! -e "/usr/share/doc/$p" ] || fail "dpkg -P left /usr/share/doc/$p"
  if dpkg-query -W "$p" >/dev/null 2>&1; then fail "dpkg still lists $p"; fi
done
[ ! -e /usr/lib/python3/dist-packages/strimlo ] || fail "dpkg -P left the Python package folder"
echo "package checks passed: ${packages[*]}"
