#!/usr/bin/env bash
# The Windows build, tested under Wine: cross-builds with MinGW-w64, runs the tests as Windows
# programs, then sends files through vaultwing.exe and the Linux vaultwing both ways and checks
# that they come back byte for byte.
#
# With Qt for MinGW built (scripts/build-qt-windows.sh) it builds the `mingw-gui` preset: VWX.exe
# too, its window tests, the deploy folder and the installer, and runs scripts/test-windows-gui.sh
# (VWX.exe and the installer under Wine on a virtual screen). Without it, the `mingw` preset
# (vaultwing.exe and the core tests only).
#
# Skips (exit 0) when MinGW-w64, Wine or the GoogleTest sources are not installed
# (scripts/install-deps.sh --windows installs them).
# Environment: VAULTWING_NATIVE_BUILD = the Linux build folder for the round trip (build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || missing+=("MinGW-w64 (g++-mingw-w64-x86-64)")
command -v wine >/dev/null 2>&1 || missing+=("wine")
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=("googletest sources")
if [ ${#missing[@]} -gt 0 ]; then
    if [[ " ${missing[*]} " == *" wine "* ]]; then
        echo "Windows tests skipped: wine not installed (missing: ${missing[*]}; scripts/install-deps.sh --windows)"
    else
        echo "Windows tests skipped: missing ${missing[*]} (scripts/install-deps.sh --windows)"
    fi
    exit 0
fi

native=${VAULTWING_NATIVE_BUILD:-$root/build/dev}
start=$SECONDS

# The Qt the mingw-gui preset names (its version is the host Qt's, as build-qt-windows.sh makes it).
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
qt_version=${qt_version%%+*}
qt_prefix=${VAULTWING_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vaultwing}/qt6-mingw-${qt_version%%-*}
if [ -n "$qt_version" ] && [ -f "$qt_prefix/.vaultwing-build" ]; then
    preset=mingw-gui
else
    preset=mingw
    echo "VWX.exe skipped: no Qt for MinGW in $qt_prefix (scripts/build-qt-windows.sh builds it)"
fi
build=$root/build/$preset

echo "== Windows cross build (preset $preset)"
if [ $preset = mingw-gui ] && [ ! -x "$native/tools/mkmanual" ]; then # lays out the manuals
    [ -f "$native/build.ninja" ] || cmake --preset "$(basename "$native")"
    cmake --build "$native" --target mkmanual
fi
[ -f "$build/build.ninja" ] || cmake --preset $preset -DVAULTWING_HOST_MKMANUAL="$native/tools/mkmanual"
cmake --build --preset $preset
[ $preset = mingw ] || cmake --build --preset $preset --target installer

# Wine reads Unix arguments and file names in the locale's character set: UTF-8.
export LC_ALL=C.UTF-8
# Wine, headless: its own prefix under the build folder, no display, no prompts to install
# Mono or Gecko, which console programs do not need.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() { wineserver -k >/dev/null 2>&1 || true; }
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Creating the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
fi

echo "== Tests under Wine"
ctest --preset $preset

echo "== Round trip: vaultwing.exe (Wine) <-> vaultwing (Linux)"
if [ ! -x "$native/bin/vaultwing" ]; then
    [ -f "$native/build.ninja" ] || cmake --preset "$(basename "$native")"
    cmake --build "$native" --target vaultwing vaultwing_lang
fi
work=$build/roundtrip
rm -rf "$work"
mkdir -p "$work/home" "$work/orig/sub/deeper"
cp "$root"/lang/*.lng "$work/home/"
printf 'Correct-horse-7\n' > "$work/pw"
# Files of several sizes (around the cipher's block and buffer sizes), in folders, one with a
# name outside ASCII.
head -c 100000 /dev/urandom > "$work/orig/random.bin"
head -c 7 /dev/urandom > "$work/orig/sub/seven.bin"
head -c 1048577 /dev/urandom > "$work/orig/sub/deeper/big.bin"
printf 'Gr\xc3\xbc\xc3\x9fe aus Windows\r\n' > "$work/orig/sub/$(printf '\xc3\x84rger.txt')"
# Outside the ANSI code page (Cyrillic, CJK and an emoji, a UTF-16 surrogate pair on Windows).
unicode=$(printf '\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe6\x96\x87 \xf0\x9f\x98\x80')
printf 'Unicode name\r\n' > "$work/orig/sub/$unicode.txt"
printf 'x' > "$work/orig/one-byte"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
win_vaultwing() {
    VAULTWING_HOME=$(winpath "$work/home") wine "$build/bin/vaultwing.exe" "$@"
}
linux_vaultwing() {
    VAULTWING_HOME=$work/home "$native/bin/vaultwing" "$@"
}
only_vwx() { # every file below $1 ends in .vwx
    [ -z "$(find "$1" -type f ! -name '*.vwx' -print -quit)" ] && [ -n "$(find "$1" -type f -print -quit)" ]
}

# Windows encrypts (and destroys its sources), Linux decrypts.
cp -r "$work/orig" "$work/win-enc"
win_vaultwing --password-file "$(winpath "$work/pw")" --delete -q "$(winpath "$work/win-enc")"
only_vwx "$work/win-enc" || { echo "vaultwing.exe left plain files behind" >&2; exit 1; }
cp -r "$work/win-enc" "$work/linux-dec"
linux_vaultwing --password-file "$work/pw" --delete -q "$work/linux-dec"
diff -r "$work/orig" "$work/linux-dec"

# Linux encrypts, Windows decrypts.
cp -r "$work/orig" "$work/linux-enc"
linux_vaultwing --password-file "$work/pw" --delete -q "$work/linux-enc"
only_vwx "$work/linux-enc" || { echo "vaultwing left plain files behind" >&2; exit 1; }
cp -r "$work/linux-enc" "$work/win-dec"
win_vaultwing --password-file "$(winpath "$work/pw")" --delete -q "$(winpath "$work/win-dec")"
diff -r "$work/orig" "$work/win-dec"

# Such a name on the command line itself (read from the wide command line), and the password
# file in a folder of such a name.
mkdir "$work/$unicode"
cp "$work/pw" "$work/$unicode/pw"
cp "$work/orig/random.bin" "$work/$unicode/$unicode.bin"
win_vaultwing --password-file "$(winpath "$work/$unicode/pw")" --delete -q "$(winpath "$work/$unicode/$unicode.bin")"
{ [ -f "$work/$unicode/$unicode.bin.vwx" ] && [ ! -e "$work/$unicode/$unicode.bin" ]; } ||
    { echo "vaultwing.exe did not encrypt a file named outside the ANSI code page" >&2; exit 1; }
linux_vaultwing --password-file "$work/pw" --delete -q "$work/$unicode/$unicode.bin.vwx"
cmp "$work/orig/random.bin" "$work/$unicode/$unicode.bin"

# A wrong password is refused by the Windows program and the file stays.
cp "$work/linux-enc/random.bin.vwx" "$work/wrong.vwx"
printf 'Wrong horse 8\n' > "$work/pw-wrong"
if win_vaultwing --password-file "$(winpath "$work/pw-wrong")" --keep -q "$(winpath "$work/wrong.vwx")" 2>/dev/null; then
    echo "vaultwing.exe accepted a wrong password" >&2
    exit 1
fi
cmp "$work/wrong.vwx" "$work/linux-enc/random.bin.vwx"
[ ! -e "$work/wrong" ]

files=$(find "$work/orig" -type f | wc -l)
echo "Windows round trip: $files files byte-identical both ways, names outside the ANSI code page among them; wrong password refused"
[ $preset = mingw ] || "$root/scripts/test-windows-gui.sh" "$build" "$native"
echo "Windows tests passed in $((SECONDS - start)) s"
