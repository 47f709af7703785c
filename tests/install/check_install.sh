#!/bin/sh
# Installs a build into an empty temporary prefix and checks what arrives there: the
# file list, the programs' --version, the picture helper found in libexec, and (when the
# tools are present) the desktop entry and the AppStream metainfo.
#
#   check_install.sh BUILD_DIR VERSION GUI(ON|OFF)
set -eu
build=$1
version=$2
gui=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "check_install: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix/usr" >/dev/null || fail "cmake --install failed"

expected=$(mktemp)
trap 'rm -rf "$prefix" "$expected"' EXIT
{
    echo ./usr/bin/kestrova-cli
    echo ./usr/share/doc/kestrova/GEONAMES-NOTICE.md
    echo ./usr/share/doc/kestrova/LICENSE
    echo ./usr/share/doc/kestrova/THIRD-PARTY-NOTICES
    echo ./usr/share/kestrova/places.kgz
    echo ./usr/share/man/man1/kestrova-cli.1
    if [ "$gui" = ON ]; then
        echo ./usr/bin/kestrova
        echo ./usr/libexec/kestrova/kestrova-render
        echo ./usr/share/applications/org.kestrova.Kestrova.desktop
        echo ./usr/share/kestrova/SVET0.bmp
        echo ./usr/share/man/man1/kestrova.1
        echo ./usr/share/metainfo/org.kestrova.Kestrova.metainfo.xml
        echo ./usr/share/mime/packages/org.kestrova.Kestrova.xml
        for size in 16 24 32 48 64 128 256; do
            echo "./usr/share/icons/hicolor/${size}x${size}/apps/org.kestrova.Kestrova.png"
        done
    fi
} | LC_ALL=C sort >"$expected"
actual=$(cd "$prefix" && find . -type f -o -type l | LC_ALL=C sort)
if ! echo "$actual" | diff -u "$expected" - >&2; then
    fail "the installed files differ from the expected list (- expected, + installed)"
fi

[ "$("$prefix/usr/bin/kestrova-cli" --version)" = "kestrova-cli $version" ] ||
    fail "kestrova-cli --version does not say $version"
grep -q "Kestrova $version" "$prefix/usr/share/man/man1/kestrova-cli.1" ||
    fail "the man page does not carry the version"

if [ "$gui" = ON ]; then
    [ "$("$prefix/usr/bin/kestrova" --version)" = "kestrova $version" ] ||
        fail "kestrova --version does not say $version"
    # The installed kestrova-cli finds its picture helper in libexec, and nothing but
    # the picture comes out (no Qt warnings, whatever the environment).
    err="$prefix/stderr"
    env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM "$prefix/usr/bin/kestrova-cli" \
        snapshot 29 3 2006 10 11 0 --png "$prefix/snap.png" --size 187x135 2>"$err" ||
        fail "the installed kestrova-cli cannot draw a picture: $(cat "$err")"
    [ -s "$prefix/snap.png" ] || fail "no picture written"
    [ ! -s "$err" ] || fail "unexpected output on stderr: $(cat "$err")"

    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$prefix/usr/share/applications/org.kestrova.Kestrova.desktop" ||
            fail "desktop-file-validate"
    else
        echo "check_install: desktop-file-validate not installed, skipped"
    fi
    if command -v appstreamcli >/dev/null 2>&1; then
        appstreamcli validate --no-net \
            "$prefix/usr/share/metainfo/org.kestrova.Kestrova.metainfo.xml" ||
            fail "appstreamcli validate"
    else
        echo "check_install: appstreamcli not installed, skipped"
    fi
fi
echo "check_install: all files in place"
