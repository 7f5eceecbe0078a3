#!/bin/sh
# The Debian package carries what the program needs to start: every library its programs
# and Qt's platform plugin load belongs to a package that its Depends bring in (with
# their own dependencies), Qt's platform plugins and translations are required rather
# than only recommended, and it has a changelog, a maintainer with an address and the
# server's settings file as a configuration file.
#   check_package.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" -D CPACK_OUTPUT_FILE_PREFIX="$work/out" \
        >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$(ls "$work"/out/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/:any//; s/[[:space:]]//g' | grep -v '^$' | sort -u)
for needed in qt6-qpa-plugins qt6-translations-l10n; do
    echo "$names" | grep -qx "$needed" || bad "Depends lacks $needed"
done

# Everything the Depends bring in, as apt knows it on this computer.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
              --no-replaces --no-enhances $names 2>/dev/null |
          sed -n 's/^[[:space:]]*\(Pre\)\{0,1\}Depends: //p; /^[a-z0-9]/p' | sed 's/[<>]//g; s/:any//' | sort -u)

dpkg-deb -x "$deb" "$work/root"
plugin=$(ls /usr/lib/*/qt6/plugins/platforms/libqxcb.so 2>/dev/null | head -n 1)
[ -n "$plugin" ] || bad "no Qt xcb platform plugin on this computer"
owner_of() {
    # /lib is /usr/lib on Debian 12: dpkg knows a file under either name.
    dpkg -S "$1" 2>/dev/null || dpkg -S "$(echo "$1" | sed 's|^/usr/lib/|/lib/|')" 2>/dev/null ||
        dpkg -S "$(echo "$1" | sed 's|^/lib/|/usr/lib/|')" 2>/dev/null
}
for binary in "$work"/root/usr/bin/* $plugin; do
    ldd "$binary" > "$work/ldd" 2>&1 || true
    if grep -q 'not found' "$work/ldd"; then
        bad "$(basename "$binary"): $(grep 'not found' "$work/ldd" | tr '\n' ' ')"
    fi
    libs=$(awk '/=>/ && $3 ~ /^\// {print $3}' "$work/ldd")
    [ "$binary" = "$plugin" ] && libs="$libs $plugin"
    for lib in $libs; do
        pkg=$(owner_of "$lib" | head -n 1 | cut -d: -f1)
        if [ -z "$pkg" ]; then
            bad "$(basename "$binary"): $lib belongs to no package"
        elif ! echo "$closure" | grep -qx "$pkg"; then
            bad "$(basename "$binary"): $lib comes from $pkg, which the Depends do not bring in"
        fi
    done
done

maintainer=$(dpkg-deb -f "$deb" Maintainer)
echo "Maintainer: $maintainer"
echo "$maintainer" | grep -Eq '^[^<>]+ <[^@<> ]+@[^@<> ]+\.[A-Za-z]+>$' || bad "Maintainer is not Name <address>"
echo "$maintainer" | grep -qi 'localhost' && bad "Maintainer's address is on localhost"
changelog="$work/root/usr/share/doc/focaris/changelog.Debian.gz"
if [ -f "$changelog" ]; then
    version=$(dpkg-deb -f "$deb" Version)
    zcat "$changelog" | head -n 1 | grep -q "^focaris ($version)" || bad "changelog does not start with version $version"
else
    bad "no changelog.Debian.gz"
fi
dpkg-deb -I "$deb" conffiles 2>/dev/null | grep -qx /etc/default/focaris-backup-server ||
    bad "/etc/default/focaris-backup-server is not a configuration file"
[ -f "$work/root/etc/default/focaris-backup-server" ] || bad "the server's settings file is missing"
cat "$work"/root/usr/lib/systemd/system/focaris-backup-server.service "$work"/root/lib/systemd/system/focaris-backup-server.service 2>/dev/null | grep -q "EnvironmentFile=-/etc/default/focaris-backup-server" ||
    bad "the unit does not read its settings file"
exit $fail
