#!/bin/sh
# Runs the screenshot smoke test under a private Xvfb display; exit 77 (skipped) without Xvfb.
tests="$1"
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb not installed: screenshots skipped"; exit 77; }
display=$(( ($$ % 400) + 100 ))
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT INT TERM
i=0 # up to a minute for the screen: a loaded machine is slow, not broken
while [ ! -e "/tmp/.X11-unix/X${display}" ] && [ $i -lt 240 ]; do
    sleep 0.25
    i=$((i + 1))
done
# The X11 platform's system libraries keep some allocations until the end (sanitizer builds).
LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
DISPLAY=":${display}" QT_QPA_PLATFORM=xcb VAULTWING_SCREENSHOTS=1 "$tests" --gtest_filter='*Screenshot*:*KeysTypedElsewhere*'
