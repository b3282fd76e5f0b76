#!/usr/bin/env bash
# Installs the Debian package made by `make package`, uses the installed programs as a new user
# would, and removes the package again. Needs root (or sudo) and a machine where the package may
# be installed for a minute: CI, or a test machine.
#   scripts/check-install.sh [PACKAGE.deb]     default: build/release/vaultwing_*.deb
#
# Checks, in order: lintian reports no error; the package installs with apt-get; as an
# unprivileged user with a fresh home, `vaultwing` round-trips a file, takes its messages from
# the installed English.lng and reads `Delete` from ~/.config/vaultwing/VWX.ini; VWX starts under
# Xvfb at its first-start language window, and choosing a language writes
# ~/.config/vaultwing/VWX.ini (0600, folder 0700); after removal nothing of the package is left in /usr.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
    exec sudo -- "$0" "$@"
fi

deb=${1:-$(find build/release -maxdepth 1 -name 'vaultwing_*.deb' 2>/dev/null | sort | tail -n 1)}
{ [ -n "$deb" ] && [ -f "$deb" ]; } || { echo "no package: run make package first" >&2; exit 2; }
deb=$(realpath "$deb")

fail() { echo "check-install: FAILED: $*" >&2; exit 1; }
step() { echo "check-install: $*"; }

if dpkg-query -W -f='${Status}' vaultwing 2>/dev/null | grep -q "install ok installed"; then
    fail "vaultwing is installed already; remove it first (this check removes it afterwards)"
fi

# A fresh home for an unprivileged user (nobody), and a display for VWX.
scratch=$(mktemp -d)
chmod 755 "$scratch"
home=$scratch/home
install -d -o nobody -g nogroup -m 700 "$home"
xvfb_pid='' vwx_pid=''
cleanup() {
    if [ -n "$vwx_pid" ]; then kill "$vwx_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    if dpkg-query -W -f='${Status}' vaultwing 2>/dev/null | grep -q "install ok installed"; then
        apt-get remove -y -qq vaultwing >/dev/null 2>&1 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# As nobody, in the fresh home, with nothing of the caller's environment.
as_user() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- \
        env -i -C "$home" HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 ${DISPLAY_FOR_USER:+DISPLAY=$DISPLAY_FOR_USER} "$@"
}

# --- the package itself ---------------------------------------------------------------------
if command -v lintian >/dev/null 2>&1; then
    step "lintian $(basename "$deb")"
    lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
fi
package_files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$')

step "apt-get install $(basename "$deb")"
apt-get install -y -qq "$deb" >/dev/null
for f in /usr/bin/vaultwing /usr/bin/VWX /usr/share/vaultwing/English.lng \
         /usr/share/applications/io.github.vaultwing.VWX.desktop; do
    [ -e "$f" ] || fail "$f was not installed"
done
grep -q 'application/x-vwx' /usr/share/mime/globs2 || fail "the MIME database does not know *.vwx"

# --- the command line -------------------------------------------------------------------------
step "vaultwing round trip as an unprivileged user"
config=$home/.config/vaultwing
as_user sh -c 'mkdir work && printf "first file\n" > work/a.txt && printf "second file\n" > work/b.txt &&
               printf "correct-horse-battery\n" > pw && printf "wrong-horse-battery\n" > bad'
# No settings yet: the sources are kept.
as_user sh -c 'vaultwing -q --password-file pw work/a.txt' || fail "encryption failed"
{ [ -f "$home/work/a.txt.vwx" ] && [ -f "$home/work/a.txt" ]; } || fail "a.txt.vwx missing or a.txt not kept"
# Delete=1 in the user's settings file: the sources are destroyed.
# shellcheck disable=SC2016 # $HOME is the user's, expanded by the user's shell
as_user sh -c 'mkdir -p "$HOME/.config/vaultwing" && printf "[Einstellungen]\r\nDelete=1\r\n" > "$HOME/.config/vaultwing/VWX.ini"'
as_user sh -c 'vaultwing -q --password-file pw work/b.txt' || fail "encryption failed"
{ [ -f "$home/work/b.txt.vwx" ] && [ ! -e "$home/work/b.txt" ]; } || fail "Delete=1 in $config/VWX.ini was not followed"
# A wrong password: the message is text 600 of the installed English.lng.
expected=$(grep -a '^600 ' /usr/share/vaultwing/English.lng | cut -c5- | tr -d '\r')
set +e
message=$(as_user sh -c 'vaultwing -q --password-file bad work/b.txt.vwx' 2>&1)
status=$?
set -e
[ "$status" -eq 1 ] || fail "wrong password: exit status $status, expected 1"
grep -qF -- "$expected" <<<"$message" || fail "wrong password: message '$message' lacks '$expected'"
as_user sh -c 'vaultwing -q --password-file pw work/b.txt.vwx' || fail "decryption failed"
{ [ "$(cat "$home/work/b.txt")" = "second file" ] && [ ! -e "$home/work/b.txt.vwx" ]; } || fail "b.txt did not come back"
{ [ ! -e /usr/bin/VWX.ini ] && [ ! -e /usr/share/vaultwing/VWX.ini ]; } || fail "settings written beside the program"
rm -rf "$config"

# --- the desktop program -----------------------------------------------------------------------
step "VWX first start under Xvfb"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -ac -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
# Every wait is for a state, up to a minute: a loaded machine is slow, not broken.
for _ in $(seq 300); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done
DISPLAY_FOR_USER=$display as_user /usr/bin/VWX >"$scratch/vwx.log" 2>&1 &
vwx_pid=$!
export DISPLAY=$display
window=$(timeout 120 xdotool search --sync --onlyvisible --classname VWX | head -n 1) || fail "no VWX window appeared"
if grep -q '^Sprache=' "$config/VWX.ini" 2>/dev/null; then fail "a language was stored before one was chosen"; fi
# The language list has the focus: the first language, then OK.
for _ in $(seq 300); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
    xdotool windowfocus "$window" 2>/dev/null || true
    sleep 0.2
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] || fail "the language window did not get the keyboard focus"
xdotool key --delay 200 Down Tab space
for _ in $(seq 300); do grep -q '^Sprache=.' "$config/VWX.ini" 2>/dev/null && break; sleep 0.2; done
grep -q '^Sprache=.' "$config/VWX.ini" 2>/dev/null || { cat "$scratch/vwx.log" >&2; fail "choosing a language did not write $config/VWX.ini"; }
chosen=$(grep -a '^Sprache=' "$config/VWX.ini" | cut -d= -f2 | tr -d '\r')
[ -f "/usr/share/vaultwing/$chosen.lng" ] || fail "Sprache=$chosen is no installed language"
{ [ "$(stat -c %a "$config")" = 700 ] && [ "$(stat -c %a "$config/VWX.ini")" = 600 ]; } ||
    fail "$config is $(stat -c %a "$config"), VWX.ini $(stat -c %a "$config/VWX.ini"): expected 700 and 600"
kill "$vwx_pid" 2>/dev/null || true
wait "$vwx_pid" 2>/dev/null || true
vwx_pid=
kill "$xvfb_pid" 2>/dev/null || true
xvfb_pid=
unset DISPLAY

# --- removal -------------------------------------------------------------------------------------
step "apt-get remove vaultwing"
apt-get remove -y -qq vaultwing >/dev/null
left=$(for f in $package_files; do [ -e "$f" ] && echo "$f"; done; find /usr -path '*vaultwing*' 2>/dev/null)
[ -z "$left" ] || fail "left in /usr after removal: $left"
if grep -q 'application/x-vwx' /usr/share/mime/globs2; then fail "the MIME database still knows *.vwx"; fi
step "passed"
