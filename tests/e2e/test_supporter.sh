#!/usr/bin/env bash
# The supporter at start-up in the real program: the header names the card, the
# help window opens by itself and Start, Enter and Esc hide it; the Help menu
# shows the help and support windows again; File > Exit still ends with 0.
source "$(dirname "$0")/lib.sh"

HELP="Instructions for Settings utility"
TECH="Technical Support"

# Count of pixels darker than #505050 in a screen rectangle.
dark_pixels() {
  import -window root -crop "$3x$4+$1+$2" png:- |
    convert - -colorspace Gray -threshold 31% -format '%[fx:int(w*h*(1-mean))]' info:
}

# Gives the keyboard to a window and waits until it has it.
focus_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1"
  sleep 0.3
}

start_app
win=$(wait_window "Setup") || fail "no main window"
help=$(wait_window "$HELP") || fail "the help window did not open by itself"
sleep 1
shot supporter-start

read -r wx wy ww wh < <(window_geometry "$win")
read -r hx hy hw hh < <(window_geometry "$help")
echo "main ${ww}x${wh}+${wx}+${wy}, help ${hw}x${hh}+${hx}+${hy}"

# The header: black text centred at the top of the client area, below the menu
# bar; nothing dark between the menu titles and the text. The strip is tall,
# since window managers differ in what they report as the client's top.
header=$(dark_pixels $((wx + ww / 2 - 250)) $((wy + 5)) 500 60)
left=$(dark_pixels $((wx + 200)) $((wy + 5)) 150 60)
echo "header strip: $header dark pixels in the middle, $left at the left"
[ "$header" -gt 300 ] || fail "no header text at the top of the main window"
[ "$left" -eq 0 ] || fail "the header is not centred"

# The help window sits centred over the main window and is scaled to the screen
# (1280 x 1024: 488 x 221).
[ "$hw" -eq 488 ] && [ "$hh" -eq 221 ] || fail "help window is ${hw}x${hh}, not 488x221"
dx=$(( (hx + hw / 2) - (wx + ww / 2) ))
dy=$(( (hy + hh / 2) - (wy + wh / 2) ))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "help window is off centre by $dx,$dy pixels"
shot supporter-help-window
# Kept above the main window.
xprop -id "$help" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
  fail "the help window is not kept on top: $(xprop -id "$help" _NET_WM_STATE)"

# Start with the mouse: the button sits centred at the bottom.
# Relative to the window itself: the root position xdotool reports for a client
# area is off by the title bar under some window managers.
xdotool mousemove --window "$help" $((hw / 2)) $((hh - 21))
sleep 0.3
xdotool click 1
wait_window_gone "$HELP" || fail "Start did not hide the help window"

# The Help menu shows it again; Enter hides it.
focus_window "$win"
xdotool key alt+h
sleep 0.5
xdotool key o
help=$(wait_window "$HELP") || fail "Help > How to use this program did not show the help window"
read -r hx2 hy2 hw2 hh2 < <(window_geometry "$help")
[ "$hw2" -eq "$hw" ] && [ "$hh2" -eq "$hh" ] || fail "the help window changed its size"
focus_window "$help"
xdotool key Return
wait_window_gone "$HELP" || fail "Enter did not hide the help window"

# Again, and Esc hides it.
focus_window "$win"
xdotool key alt+h
sleep 0.5
xdotool key o
help=$(wait_window "$HELP") || fail "the help window did not come back a second time"
focus_window "$help"
xdotool key Escape
wait_window_gone "$HELP" || fail "Esc did not hide the help window"

# The support window.
focus_window "$win"
xdotool key alt+h
sleep 0.5
xdotool key t
tech=$(wait_window "$TECH") || fail "Help > Technical Support did not show the support window"
sleep 0.5
shot supporter-support-window
read -r tx ty tw th < <(window_geometry "$tech")
[ "$tw" -eq 305 ] && [ "$th" -eq 122 ] || fail "support window is ${tw}x${th}, not 305x122"
# Choosing it again changes nothing: still one support window.
focus_window "$win"
xdotool key alt+h
sleep 0.5
xdotool key t
sleep 0.5
count=$(xdotool search --onlyvisible --name "^${TECH}\$" | wc -l)
[ "$count" -eq 1 ] || fail "$count support windows"
focus_window "$tech"
xdotool key Escape
wait_window_gone "$TECH" || fail "Esc did not hide the support window"

# File > Exit ends the program with 0.
focus_window "$win"
xdotool key alt+f
sleep 0.5
xdotool key Return
# Waited for in this shell: `wait` in a command substitution runs in a subshell
# that is not the program's parent, and loses its status when the program ends
# at the wrong moment.
for _ in $(seq 1 100); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$APP_PID" 2>/dev/null && fail "program did not end after File > Exit"
rc=0
wait "$APP_PID" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "PASS"
