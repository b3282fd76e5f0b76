#!/bin/sh
# Runs the screenshot smoke test under a private Xvfb display; exit 77 (skipped) without Xvfb.
tests="$1"
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb not installed: screenshots skipped"; exit 77; }
display=$(( ($$ % 400) + 100 ))
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT INT TERM
for _ in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.25
done
# The X11 platform's system libraries keep some allocations until the end (sanitizer builds).
LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
DISPLAY=":${display}" QT_QPA_PLATFORM=xcb VAULTWING_SCREENSHOTS=1 "$tests" --gtest_filter='Screenshot*'
