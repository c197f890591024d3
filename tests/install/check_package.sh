#!/usr/bin/env bash
# Makes the Debian package from this build (cpack, no second build), has lintian look at it,
# installs it with dpkg, checks the installed program and files, then purges it and checks that
# nothing of it is left. It changes the machine, so it runs only where it safely can: as root or
# with sudo that asks no password, and with no quillet package installed (it would remove the
# user's own). Elsewhere it says why and exits with 77, which ctest counts as skipped. It always
# purges what it installed.
#
# Usage: bash tests/install/check_package.sh BUILD_DIR VERSION
set -uo pipefail
build="$1" version="$2"
id=org.quillet.Quillet
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# scripts/test shows these lines after the tests' summary.
skip() {
  echo "Skipped: install_package: $*"
  exit 77
}

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || skip "dpkg needs root, and this user is not root and has no sudo without a password"
  as_root=(sudo -n)
fi
status="$(dpkg-query -W -f='${Status}' quillet 2>/dev/null)"
case "$status" in
  "" | *not-installed) ;;
  *) skip "a quillet package is installed ($status); the test would replace and purge it" ;;
esac

root="$(mktemp -d "${TMPDIR:-/tmp}/quillet-package.XXXXXX")"
installed=0
cleanup() {
  [ "$installed" -eq 0 ] || "${as_root[@]}" dpkg -P quillet >/dev/null 2>&1
  rm -rf -- "$root"
}
trap cleanup EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$root" >"$root/cpack.log" 2>&1 || fail "cpack: $(cat "$root/cpack.log")"
deb="$root/quillet_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$root")"

report="$(lintian "$deb" 2>&1 | grep -v 'running with root privileges')"
[ -z "$report" ] || echo "lintian: $report"
! grep -qE '^E:|unstripped-binary' <<<"$report" || fail "lintian finds errors"
dpkg-deb -I "$deb" md5sums >/dev/null || fail "the package has no md5sums"
# Without the Wayland platform plugin a Wayland desktop runs the program through XWayland.
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"
odd="$(dpkg-deb -c "$deb" | grep -vE '^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x) root/root ')"
[ -z "$odd" ] || fail "files not owned by root or with unusual permissions: $odd"

installed=1
"${as_root[@]}" dpkg -i "$deb" >"$root/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$root/dpkg.log")"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/quillet --version | head -n 1)" = "Quillet $version" ] ||
  fail "the installed program does not answer 'Quillet $version'"
for file in applications/$id.desktop metainfo/$id.metainfo.xml man/man1/quillet.1.gz mime/packages/$id.xml \
  icons/hicolor/scalable/apps/$id.svg icons/hicolor/48x48/apps/$id.png quillet/Data/Readme.txt \
  quillet/help/Quillet.html doc/quillet/copyright doc/quillet/changelog.gz; do
  [ -s "/usr/share/$file" ] || fail "not installed: /usr/share/$file"
done
# The project's own web and mail addresses are all the README's placeholder; the sites of the
# standards a file names and the author's address in Scintilla's licence are the only others.
placeholder="$(grep -oE 'placeholder address, `https://[A-Za-z0-9.-]+/`' "$(dirname "$0")/../../README.md" |
  sed -E 's#.*https://([^/]+)/.*#\1#')"
[ -n "$placeholder" ] || fail "the README names no placeholder address"
addresses="$(dpkg-deb -f "$deb" Homepage Maintainer
  cat /usr/share/doc/quillet/copyright "/usr/share/metainfo/$id.metainfo.xml"
  zcat /usr/share/doc/quillet/changelog.gz)"
others="$(grep -oE '(https?://|@)[A-Za-z0-9.-]+' <<<"$addresses" | sed -E 's#^(https?://|@)##' | sort -u |
  grep -vxF -e "$placeholder" -e www.debian.org -e www.w3.org -e www.freedesktop.org -e specifications.freedesktop.org -e scintilla.org)"
[ -z "$others" ] || fail "addresses other than the placeholder $placeholder: $others"
listed="$(dpkg -L quillet)"

"${as_root[@]}" dpkg -r quillet >"$root/dpkg.log" 2>&1 || fail "dpkg -r: $(cat "$root/dpkg.log")"
"${as_root[@]}" dpkg -P quillet >"$root/dpkg.log" 2>&1 || fail "dpkg -P: $(cat "$root/dpkg.log")"
installed=0
while IFS= read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "left after purging: $path"
done <<<"$listed"
for folder in /usr/share/quillet /usr/share/doc/quillet; do
  [ ! -e "$folder" ] || fail "left after purging: $folder"
done
! dpkg-query -W -f='${Status}' quillet 2>/dev/null | grep -qv not-installed || fail "dpkg still knows quillet"
echo "PASS"
