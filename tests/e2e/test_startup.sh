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

# Centred on the outer size: on a row through the board, the first pixel that is
# not window-white lies (screen width - 600) / 2 from the left edge.
row=$((sh / 2 + 60))
pixels=$(import -window root -crop "${sw}x1+0+${row}" -depth 8 txt:-)
first=$(awk -F'[,:]' 'NR > 1 && $0 !~ /#FFFFFF/ { print $1; exit }' <<<"$pixels")
expected=$(((sw - 600) / 2))
echo "board starts at x=$first on row $row (expected $expected)"
[ -n "$first" ] && [ $((first - expected)) -ge -1 ] && [ $((first - expected)) -le 1 ] ||
  fail "board's left edge at ${first:-none}, expected $expected"

# Other windows (the help window) may hold the keyboard: bring the main window
# to the front before using its menu.
xdotool windowactivate --sync "$win"
xdotool key --window "$win" alt+f
sleep 0.5
xdotool key Return
wait_app_exit || fail "program did not end after File > Exit"
[ "$APP_RC" -eq 0 ] || fail "exit code $APP_RC"
echo "PASS"
