#!/usr/bin/env bash
# Builds the Debian package from the build folder into a scratch folder, unpacks it into a
# scratch root and checks what it holds: the programs run and say their version, the
# desktop files and manual pages are there, the dependencies were computed.
set -euo pipefail
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/work" -D CPACK_OUTPUT_FILE_PREFIX="$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/out/focaris_${version}_amd64.deb"
[ -f "$deb" ] || { ls -R "$scratch/out"; fail "no $deb"; }

dpkg-deb -x "$deb" "$scratch/root"
root="$scratch/root"
for f in usr/bin/focaris usr/bin/focaris-tool usr/bin/focaris-backup-server \
         usr/share/applications/focaris.desktop usr/share/mime/packages/focaris-t21.xml \
         usr/share/icons/hicolor/scalable/apps/focaris.svg \
         usr/share/metainfo/ro.focaris.FocAris.metainfo.xml \
         usr/share/man/man1/focaris.1.gz usr/share/man/man1/focaris-tool.1.gz \
         usr/share/man/man1/focaris-backup-server.1.gz \
         usr/lib/systemd/system/focaris-backup-server.service usr/share/doc/focaris/copyright; do
  [ -e "$root/$f" ] || fail "missing $f"
done

out=$("$root/usr/bin/focaris" --version)
[ "$out" = "focaris $version" ] || fail "focaris --version said '$out'"
out=$("$root/usr/bin/focaris-tool" --version)
[ "$out" = "focaris-tool $version" ] || fail "focaris-tool --version said '$out'"
"$root/usr/bin/focaris-tool" help | grep -q "store init" || fail "focaris-tool help lists no 'store init'"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6widgets6 libsqlite3 zlib1g libxlsxwriter; do
  echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
# The unit is shipped, not enabled: no symlink in a .wants folder.
! find "$root" -path '*.wants*' | grep -q . || fail "the server's unit is enabled"
gzip -dc "$root/usr/share/man/man1/focaris.1.gz" | grep -q '^\.TH FOCARIS 1' || fail "man page"
