#!/usr/bin/env bash
# Installs the built tree into a staging folder (DESTDIR, prefix /usr) and checks it as a desktop
# would read it: every file in its place, the desktop entry, metainfo and manual page valid, one
# version throughout, and "--version" and "--help" answered with no display and no file written.
#
# Usage: bash tests/install/check_install.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build="$1" source="$2" version="$3"
id=org.quillet.Quillet
root="$(mktemp -d "${TMPDIR:-/tmp}/quillet-install.XXXXXX")"
trap 'rm -rf -- "$root"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR="$root/stage" cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$root/install.log")"
usr="$root/stage/usr"

files=(bin/quillet "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  share/man/man1/quillet.1.gz "share/mime/packages/$id.xml" "share/icons/hicolor/scalable/apps/$id.svg"
  share/doc/quillet/copyright share/doc/quillet/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
  files+=("share/icons/hicolor/${size}x$size/apps/$id.png")
  [ "$(identify -format %wx%h "$usr/share/icons/hicolor/${size}x$size/apps/$id.png" 2>/dev/null)" = "${size}x$size" ] ||
    fail "the ${size}x$size icon is missing or of another size"
done
for file in "${files[@]}"; do
  [ -s "$usr/$file" ] || fail "not installed: /usr/$file"
done
# Everything the program reads at run time: its texts, the credits and the help.
for folder in Data help; do
  diff -r "$source/data/$folder" "$usr/share/quillet/$folder" >&2 || fail "share/quillet/$folder differs from data/$folder"
done

problems="$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1)" || fail "desktop entry: $problems"
[ -z "$problems" ] || fail "desktop entry: $problems"
problems="$(appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" 2>&1)" || fail "metainfo: $problems"
! grep -E '^[EW]:' <<<"$problems" || fail "metainfo has errors or warnings"
page="$usr/share/man/man1/quillet.1.gz"
problems="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null; zcat "$page" | groff -man -ww -z 2>&1)"
[ -z "$problems" ] || fail "manual page: $problems"

# The entry starts the installed program with its icon; the metainfo launches the entry.
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the desktop entry names another icon"
grep -qx "Exec=quillet %F" "$usr/share/applications/$id.desktop" || fail "the desktop entry starts another program"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$usr/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo launches another desktop entry"
# The windows and the entries the configuration window writes carry the installed entry's id, so
# the desktop sees one program.
grep -q "setDesktopFileName(QStringLiteral(\"$id\"))" "$source/src/app/application.cpp" ||
  fail "the windows carry another application id than $id"
grep -q "DesktopFileId\[\] = \"$id.desktop\"" "$source/src/platform/freedesktop.h" ||
  fail "the configuration window writes its entries under another name than $id.desktop"
# The installed MIME type is the one the configuration window writes in the user's folders.
ours="$(sed -n 's/^ *"\( *<.*>\)\\n"[);]*$/\1/p' "$source/src/platform/freedesktop.cpp" | sed 's/\\"/"/g' | sed -n '/<mime-type/,/<\/mime-type>/p')"
installed="$(sed -n '/<mime-type/,/<\/mime-type>/p' "$usr/share/mime/packages/$id.xml")"
[ -n "$ours" ] || fail "the MIME type the program writes was not found in freedesktop.cpp"
[ "$ours" = "$installed" ] || fail "the installed MIME package differs from the one the program writes: $ours"

# One version everywhere.
grep -q "<release version=\"$version\" " "$usr/share/metainfo/$id.metainfo.xml" || fail "metainfo: no release $version"
zcat "$page" | grep -q "^\.TH QUILLET 1 .* \"Quillet $version\"" || fail "manual page: not version $version"
zcat "$usr/share/doc/quillet/changelog.gz" | head -n 1 | grep -q "^quillet ($version) " || fail "changelog: not $version"

# No display, no platform, a private home: the answers come without a window or a file.
mkdir -p "$root/home"
run() {
  env -i PATH="$PATH" HOME="$root/home" XDG_CONFIG_HOME="$root/home/config" XDG_DATA_HOME="$root/home/data" \
    XDG_STATE_HOME="$root/home/state" TMPDIR="$root/home" "$usr/bin/quillet" "$@"
}
out="$(run --version)" || fail "--version ended with status $?"
[ "$(head -n 1 <<<"$out")" = "Quillet $version" ] || fail "--version printed: $out"
out="$(run --help)" || fail "--help ended with status $?"
grep -q '^Usage: quillet ' <<<"$out" || fail "--help printed: $out"
written="$(find "$root/home" "$usr/bin" -mindepth 1 ! -path "$usr/bin/quillet")"
[ -z "$written" ] || fail "--version or --help left files behind: $written"
echo "PASS"
