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
        echo "  focus: $(xdotool getwindowfocus 2>/dev/null || echo none)," \
            "active window: $(xdotool getactivewindow 2>/dev/null || echo none)" >&2
        echo "  screen: $shots/failure.png" >&2
    fi
    if [ -s "${work:-}/vwx.log" ]; then
        echo "  the last lines VWX.exe wrote:" >&2
        tail -n 20 "$work/vwx.log" | sed 's/^/    /' >&2
    fi
    exit 1
}
command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 && command -v xwd >/dev/null 2>&1 ||
    { echo "VWX.exe under Wine skipped: Xvfb, xdotool or xwd not installed (scripts/install-deps.sh --windows)"; exit 0; }

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
wait_for 60 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
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

# Windows are looked for by polling: a search that meets a window as it goes (Wine makes and
# drops windows while it starts) fails, and the next look finds what is there.
# (Each of these answers, never fails: a window that went away just is not in the answer.)
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort || true; }
picture_of() { xwd -silent -id "$1" 2>/dev/null | md5sum || true; }
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true; }
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }
steady() { # steady WINDOW: drawn, the same picture half a second apart
    local first
    first=$(picture_of "$1")
    sleep 0.5
    [ "$first" = "$(picture_of "$1")" ]
}
changed() { [ "$(picture_of "$1")" != "$2" ]; } # changed WINDOW PICTURE
appeared() { # a visible window that was not there before ($before)
    comm -13 <(printf '%s\n' "$before") <(visible_windows) | head -n1 || true
}
menu_up() { menu=$(appeared); [ -n "$menu" ]; }
menu_gone() { ! visible_windows | grep -qx "$menu"; }
# Keys go to the window with the keyboard focus. Wine makes the tile (a frameless tool window) an
# unmanaged X window: the window manager cannot activate it, and an activation request for it
# does nothing while reporting success. The focus then stays where it was, on a fresh prefix with
# the "Wine System Tray" window Wine opens for the tray icon, and keys meant for the tile's menu
# went there. So the focus is also set straight, and checked, before any key goes.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
take_focus() { # take_focus WINDOW: true once WINDOW has the focus, asking for it when it has not
    has_focus "$1" && return 0
    xdotool windowactivate "$1" >/dev/null 2>&1 || true # managed windows: raised and activated
    xdotool windowfocus "$1" >/dev/null 2>&1 || true    # unmanaged ones: the focus set straight
    has_focus "$1"
}
activate() { # activate WINDOW NAME: the keyboard focus on WINDOW
    wait_for 60 take_focus "$1" || fail "the \"$2\" window did not get the keyboard focus"
}

# vwx_job CAPTION FILE [PICTURE [RUNNING_PICTURE]]: VWX.exe started with FILE, its password
# dialog (CAPTION) answered; pictures of the dialog and of the screen 1.5 s into the run.
vwx_job() {
    local caption=$1 file=$2 picture=${3:-} running=${4:-} window
    timeout 300 wine "$portable/VWX.exe" "$(winpath "$file")" >>"$work/vwx.log" 2>&1 &
    local vwx=$!
    wait_for 180 has_window "$caption" || fail "no \"$caption\" window for $file"
    window=$(window_named "$caption")
    wait_for 60 steady "$window" || fail "the \"$caption\" window was never drawn"
    [ -z "$picture" ] || grab "$picture"
    activate "$window" "$caption"
    xdotool type --delay 40 "$password"
    if [ "$caption" = Encrypt ]; then
        xdotool key Tab
        xdotool type --delay 40 "$password"
    fi
    xdotool key Return
    if [ -n "$running" ]; then # a picture only: a fast machine may be done before it is taken
        wait_for 30 has_window 'Encrypting\.\.\.' || true
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

# The drop zone and the windows of its menu, each pictured and closed again. Every window has a
# title of its own (the tile "Vaultwing", the about window "About Vaultwing"); the menu is the
# window the right click brings. Each step waits for the state it needs, with a generous bound.
timeout 600 wine "$portable/VWX.exe" >>"$work/vwx.log" 2>&1 &
vwx=$!
wait_for 180 has_window Vaultwing || fail "VWX.exe showed no drop zone"
tile=$(window_named Vaultwing)
wait_for 60 steady "$tile" || fail "the drop zone was never drawn"
grab wine-drop-zone
choose() { # choose ITEM: the tile's menu item ITEM (1 = the first)
    local i before menu picture
    # Keys reach a Wine menu through the window Wine holds active: the tile, made so first.
    activate "$tile" "Vaultwing"
    before=$(visible_windows)
    xdotool mousemove --window "$tile" 20 20 click 3
    wait_for 60 menu_up || fail "the drop zone's menu did not open"
    wait_for 60 steady "$menu" || fail "the drop zone's menu was never drawn"
    # One step at a time, each seen to move the highlight (Windows menus step onto disabled
    # items too).
    for ((i = 1; i <= $1; i++)); do
        picture=$(picture_of "$menu")
        activate "$tile" "Vaultwing" # the menu takes its keys through the tile
        xdotool key Down
        wait_for 60 changed "$menu" "$picture" || fail "the drop zone's menu did not step to item $i"
    done
    activate "$tile" "Vaultwing"
    xdotool key Return
    wait_for 60 menu_gone || fail "the drop zone's menu did not take item $1"
}
menu_window() { # menu_window ITEM TITLE PICTURE: the window of menu item ITEM, pictured and closed
    local window
    choose "$1"
    wait_for 60 has_window "$2" || fail "menu item $1 opened no \"$2\" window"
    window=$(window_named "$2")
    grab "$3" # the about window's credits scroll: never the same picture twice
    activate "$window" "$2"
    xdotool key alt+F4
    wait_for 60 no_window "$2" || fail "the \"$2\" window did not close"
}
menu_window 1 Settings wine-settings
menu_window 2 Favourites wine-favourites
menu_window 5 'About Vaultwing' wine-about
choose 6 # Exit
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
language_window() { xdotool search --onlyvisible --class '^vwx\.exe$' 2>/dev/null | head -n1 || true; }
has_language_window() { [ -n "$(language_window)" ]; }
wait_for 180 has_language_window || fail "the installed VWX.exe showed no language window"
window=$(language_window)
wait_for 60 steady "$window" || fail "the installed VWX.exe's language window was never drawn"
grab wine-installed-first-start
activate "$window" "language"
xdotool key --delay 200 Down Return # Deutsch, then the default button
wait_for 30 grep -q '^Sprache=' "$program_files/VWX.ini" 2>/dev/null || fail "the installed VWX.exe stored no language"
wait_for 180 has_window Vaultwing || fail "the installed VWX.exe showed no drop zone after the language window"
tile=$(window_named Vaultwing)
wait_for 60 steady "$tile" || fail "the installed VWX.exe's drop zone was never drawn"
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
