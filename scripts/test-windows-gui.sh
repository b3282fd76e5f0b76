#!/usr/bin/env bash
# VWX.exe under Wine on a virtual screen (Xvfb, with openbox when it is installed): the part of
# scripts/test-windows.sh that needs the desktop program (preset mingw-gui). It calls this script
# with the build folder and the native build folder, Wine's environment already set.
#   1. A copy of the deploy folder started as Explorer starts it, with a file on its command line:
#      the password dialog found by its caption, the password typed, the .vwx written, checked by
#      the Linux vaultwing, then opened again by VWX.exe; for a plain name and for one outside
#      the ANSI code page. Then a large file (the progress window), and the drop zone with the
#      windows of its menu (settings, favourites, about), each pictured and closed.
#   2. The installer run silently, the installed VWX.exe started, the uninstaller run: nothing it
#      installed is left, the user's settings stay unless /REMOVESETTINGS says otherwise.
# The pictures land in <build>/screenshots; they need xwd and netpbm (scripts/install-deps.sh
# --windows), without which only the checks run.
# shellcheck disable=SC2015 # "check && check || fail": fail when any check does not hold, as meant
set -euo pipefail
build=$1
native=$2

fail() {
    echo "Windows desktop test failed: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then # what the screen showed, and the windows it had
        grab failure
        xdotool search --onlyvisible --name '' 2>/dev/null | while read -r w; do
            echo "  window $w: $(xdotool getwindowname "$w" 2>/dev/null)" >&2
        done
        echo "  screen: $shots/failure.png" >&2
    fi
    exit 1
}
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 ||
    { echo "VWX.exe under Wine skipped: Xvfb or xdotool not installed (scripts/install-deps.sh --windows)"; exit 0; }

deploy=$(find "$build" -maxdepth 1 -type d -name 'Vaultwing-*' | head -n1)
installer=$(find "$build" -maxdepth 1 -type f -name 'Vaultwing-*-setup.exe' | head -n1)
[ -n "$deploy" ] && [ -n "$installer" ] || fail "no deploy folder or installer in $build"
shots=$build/screenshots
work=$build/gui-test
rm -rf "$work"
mkdir -p "$shots" "$work/docs" "$work/plain"
rm -f "$shots"/*.png

winpath() { printf 'Z:%s' "${1//\//\\}"; }
grab() { # a picture of the whole virtual screen
    if command -v xwd >/dev/null 2>&1 && command -v pnmtopng >/dev/null 2>&1; then
        xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$shots/$1.png" 2>/dev/null || true
    fi
}
wait_for() { # wait_for SECONDS COMMAND...: until the command succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.5
    done
}

# A private screen with a window manager, so that windows are placed, framed and focused.
display_number=$((70 + RANDOM % 100))
while [ -e "/tmp/.X$display_number-lock" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_number"
helpers=("$xvfb")
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "${helpers[@]}" >/dev/null 2>&1 || true
}
trap cleanup EXIT
wait_for 20 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
# A Wine session started without a display (the headless tests before) keeps its windowless
# driver: end it, so that the next one starts on this screen.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
if command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    helpers+=("$!")
fi

# Everything from here runs from the deploy folder's own DLLs, not the Qt build's.
unset WINEPATH
password=Correct-horse-7
printf '%s\n' "$password" >"$work/pw"
unicode=$(printf '\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe6\x96\x87 \xf0\x9f\x98\x80')

# A portable copy: the settings beside it (a language chosen, so no first-start window).
portable=$work/Vaultwing
cp -r "$deploy" "$portable"
printf '[Einstellungen]\r\nSprache=English\r\n' >"$portable/VWX.ini"

# vwx_job CAPTION FILE [PICTURE [RUNNING_PICTURE]]: VWX.exe started with FILE, its password
# dialog (CAPTION) answered; pictures of the dialog and of the screen 1.5 s into the run.
vwx_job() {
    local caption=$1 file=$2 picture=${3:-} running=${4:-} window
    timeout 300 wine "$portable/VWX.exe" "$(winpath "$file")" >>"$work/vwx.log" 2>&1 &
    local vwx=$!
    window=$(timeout 180 xdotool search --sync --onlyvisible --name "^$caption\$" 2>/dev/null | head -n1) ||
        fail "no \"$caption\" window for $file"
    sleep 1 # let it draw
    [ -z "$picture" ] || grab "$picture"
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window" >/dev/null 2>&1 || true
    xdotool type --delay 40 "$password"
    if [ "$caption" = Encrypt ]; then
        xdotool key Tab
        xdotool type --delay 40 "$password"
    fi
    xdotool key Return
    if [ -n "$running" ]; then
        sleep 1.5
        grab "$running"
    fi
    wait "$vwx" || fail "VWX.exe did not end after the job on $file"
}

echo "== VWX.exe started with a file (Explorer's way), both directions"
for name in letter.txt "$unicode.txt"; do
    head -c 70000 /dev/urandom >"$work/plain/$name"
    cp "$work/plain/$name" "$work/docs/$name"
    picture=
    [ "$name" = letter.txt ] && picture=wine-encrypt-dialog
    vwx_job Encrypt "$work/docs/$name" "$picture"
    [ -f "$work/docs/$name.vwx" ] || fail "VWX.exe wrote no $name.vwx"
    # The Linux program opens what VWX.exe wrote.
    mkdir -p "$work/linux"
    cp "$work/docs/$name.vwx" "$work/linux/"
    VAULTWING_HOME=$portable "$native/bin/vaultwing" --password-file "$work/pw" --keep -q "$work/linux/$name.vwx"
    cmp "$work/plain/$name" "$work/linux/$name" || fail "the Linux vaultwing read back other bytes for $name"
    # And VWX.exe opens it again.
    rm "$work/docs/$name"
    [ "$name" = letter.txt ] && picture=wine-decrypt-dialog
    vwx_job Decrypt "$work/docs/$name.vwx" "$picture"
    cmp "$work/plain/$name" "$work/docs/$name" || fail "VWX.exe decrypted $name to other bytes"
done
echo "VWX.exe: encrypted and decrypted through its password dialogs, checked by the Linux vaultwing"

# A file large enough to see the progress window.
head -c $((256 << 20)) /dev/zero >"$work/docs/large.bin"
vwx_job Encrypt "$work/docs/large.bin" "" wine-progress
[ "$(stat -c %s "$work/docs/large.bin.vwx")" -gt $((256 << 20)) ] || fail "no whole large.bin.vwx"
rm -f "$work/docs/large.bin" "$work/docs/large.bin.vwx"

# The drop zone and the windows of its menu, each pictured and closed again.
timeout 300 wine "$portable/VWX.exe" >>"$work/vwx.log" 2>&1 &
vwx=$!
tile=$(timeout 180 xdotool search --sync --onlyvisible --name '^Vaultwing$' 2>/dev/null | head -n1) ||
    fail "VWX.exe showed no drop zone"
sleep 1
grab wine-drop-zone
other_window() { # a visible window named $1 that is not the tile
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$tile" | head -n1
}
has_window() { [ -n "$(other_window "$1")" ]; }
no_window() { [ -z "$(other_window "$1")" ]; }
menu_closed() { ! xdotool search --onlyvisible --name '^Vaultwing$' 2>/dev/null | grep -qx "$menu"; }
choose() { # choose ITEM: the tile's menu item ITEM (1 = the first), once the menu is up and gone again
    local keys=() attempt
    for ((i = 0; i < $1; i++)); do keys+=(Down); done
    # Keys reach the menu through the window Wine holds active: the tile, made so first. A loaded
    # machine may still lose them to a menu that is not ready; it is closed and opened again.
    for attempt in 1 2 3; do
        xdotool windowactivate --sync "$tile" >/dev/null 2>&1 || xdotool windowfocus "$tile" >/dev/null 2>&1 || true
        xdotool mousemove --window "$tile" 20 20 click 3
        wait_for 30 has_window Vaultwing || fail "the drop zone's menu did not open" # the menu takes its name
        menu=$(other_window Vaultwing)
        sleep 0.5
        xdotool key --delay 100 "${keys[@]}" Return
        wait_for 10 menu_closed && return 0
        echo "the drop zone's menu did not take item $1 (attempt $attempt)" >&2
        xdotool key Escape
        wait_for 10 menu_closed || true
    done
    fail "the drop zone's menu did not take item $1"
}
menu_window() { # menu_window ITEM CAPTION PICTURE: the window of menu item ITEM, pictured and closed
    local window=
    choose "$1"
    wait_for 60 has_window "$2" || fail "menu item $1 opened no \"$2\" window"
    window=$(other_window "$2")
    sleep 1
    grab "$3"
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    xdotool key alt+F4
    wait_for 30 no_window "$2" || fail "the \"$2\" window did not close"
}
menu_window 1 Settings wine-settings
menu_window 2 Favourites wine-favourites
menu_window 5 Vaultwing wine-about
choose 6 # Exit (Windows menus step onto disabled items too)
wait "$vwx" || fail "VWX.exe did not end through Exit"
echo "VWX.exe: progress, drop zone, settings, favourites and about windows opened and pictured"

echo "== The installer, the installed program, the uninstaller"
program_files=$WINEPREFIX/drive_c/Program\ Files/Vaultwing
start_menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Vaultwing.lnk
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vaultwing'
send_to() { find "$WINEPREFIX/drive_c/users" -path '*/SendTo/Vaultwing.lnk' 2>/dev/null | grep -q .; }
associated() { wine reg query 'HKCR\.vwx' >/dev/null 2>&1; }
registered() { wine reg query "$uninstall_key" >/dev/null 2>&1; }
install() {
    rm -rf "$program_files"
    wine "$installer" /S || fail "the installer failed"
    wineserver -w
    diff -r -x Uninstall.exe "$deploy" "$program_files" >/dev/null || fail "the installed files differ from $deploy"
    [ -f "$program_files/Uninstall.exe" ] && [ -f "$start_menu" ] || fail "no uninstaller or Start-menu shortcut"
    registered && associated && send_to || fail "the uninstall entry, the .vwx association or the Send To entry is missing"
}
uninstall() {
    # The uninstaller runs from a copy in %TEMP% and the first process ends at once.
    wine "$program_files/Uninstall.exe" /S "$@" || fail "the uninstaller failed"
    wait_for 60 test ! -e "$program_files/Uninstall.exe" || fail "the uninstaller did not finish"
    wineserver -w
    ! registered && ! associated && ! send_to && [ ! -e "$start_menu" ] ||
        fail "the uninstaller left its registry entry, the association, the Send To entry or the shortcut"
}

install
# The installed program's first start: the language window, then the drop zone.
wine "$program_files/VWX.exe" >>"$work/vwx.log" 2>&1 &
window=$(timeout 180 xdotool search --sync --onlyvisible --class "^vwx\.exe$" 2>/dev/null | head -n1) ||
    fail "the installed VWX.exe showed no language window"
sleep 1
grab wine-installed-first-start
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --delay 200 Down Return # Deutsch, then the default button
wait_for 30 grep -q '^Sprache=' "$program_files/VWX.ini" 2>/dev/null || fail "the installed VWX.exe stored no language"
sleep 2
grab wine-installed-drop-zone
wineserver -k >/dev/null 2>&1 || true

uninstall
left=$(cd "$program_files" && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "./VWX.ini " ] || fail "a silent uninstall should leave only the user's settings, left: $left"
install
uninstall /REMOVESETTINGS
[ ! -e "$program_files" ] || fail "the uninstaller with /REMOVESETTINGS left $program_files"
echo "Installer: installed, associated, started, uninstalled; nothing of it left in Program Files"
echo "Pictures in $shots: $(find "$shots" -name '*.png' -printf '%f ')"
