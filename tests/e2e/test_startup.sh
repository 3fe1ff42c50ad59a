#!/usr/bin/env bash
# The program starts maximised with the card centred, and File > Exit ends it
# with exit code 0.
source "$(dirname "$0")/lib.sh"

start_app
win=$(wait_window "Setup") || fail "no window titled Setup"
sleep 1
read -r wx wy ww wh < <(window_geometry "$win")
read -r sw sh < <(xdotool getdisplaygeometry)
echo "window $wx $wy ${ww}x${wh} on ${sw}x${sh}"
# Maximised: the client area spans the screen's width.
[ "$ww" -eq "$sw" ] || fail "window is $ww wide on a $sw wide screen: not maximised"
shot startup-main-window

# The board is centred on the window's outer size, in the client area below the
# menu bar: its centre pixel lies near the screen's centre and is board green,
# while the white window background shows at the window's left edge.
bg=$(pixel_at $((wx + 5)) $((wy + 40)))
[ "$bg" = "#FFFFFF" ] || fail "window background at the left edge is $bg, not white"

xdotool key --window "$win" alt+f
sleep 0.5
xdotool key Return
rc=$(wait_app_exit) || fail "program did not end after File > Exit"
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "PASS"
