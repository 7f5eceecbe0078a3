#!/bin/sh
# The Debian package carries what the program needs to start: every library its programs
# and Qt's platform plugin load belongs to a package that its Depends bring in (with
# their own dependencies), Qt's platform plugins are required rather than only
# recommended, apt can install it without recommends on a computer that has nothing
# installed, the desktop program from the package opens its window on an X server of its
# own, and it has a changelog, a maintainer with an address and the server's settings file
# as a configuration file.
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
for needed in qt6-qpa-plugins; do
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

# apt's own answer, as on a computer with nothing installed: an empty status file makes
# every package of the archive's lists a candidate, so the simulation lists the whole set
# an installation without recommends brings in and fails on anything it cannot satisfy.
if [ -n "$(ls /var/lib/apt/lists/*Packages* 2>/dev/null)" ]; then
    : > "$work/status"
    if apt-get install --simulate --no-install-recommends -o Dir::State::status="$work/status" \
            -o Debug::NoLocking=1 "$deb" > "$work/apt.log" 2>&1; then
        echo "apt: $(grep -c '^Inst ' "$work/apt.log") packages to install on an empty computer"
        for needed in qt6-qpa-plugins libqt6widgets6; do
            grep -q "^Inst $needed " "$work/apt.log" || bad "apt would not install $needed"
        done
    else
        tail -n 20 "$work/apt.log"
        bad "apt cannot install the package without recommends"
    fi
else
    echo "apt: no package lists on this computer; the installation is not simulated"
fi

# The desktop program as the package installs it starts and shows its start window
# "Foc aris" on an X server of its own. The wait is for the window, with a wide bound
# for a loaded computer.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    tries=0
    while [ ! -s "$work/display" ] && [ $tries -lt 600 ]; do sleep 0.1; tries=$((tries + 1)); done
    display=":$(head -n 1 "$work/display")"
    mkdir -p "$work/home"
    DISPLAY=$display QT_QPA_PLATFORM=xcb FOCARIS_HOME="$work/home" "$work/root/usr/bin/focaris" \
        > "$work/focaris.log" 2>&1 &
    program=$!
    tries=0
    shown=""
    while [ -z "$shown" ] && [ $tries -lt 1200 ] && kill -0 $program 2>/dev/null; do
        shown=$(DISPLAY=$display xdotool search --onlyvisible --name '^Foc aris$' 2>/dev/null | head -n 1)
        [ -n "$shown" ] || sleep 0.1
        tries=$((tries + 1))
    done
    if [ -n "$shown" ]; then
        echo "focaris from the package opened its window on $display"
    else
        cat "$work/focaris.log"
        bad "focaris from the package did not open its window"
    fi
    kill $program 2>/dev/null; wait $program 2>/dev/null || true
    kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true
else
    bad "Xvfb or xdotool is missing: the start of the packaged program is not checked"
fi

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
