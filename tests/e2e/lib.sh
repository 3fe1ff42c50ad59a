# Shared helpers for the real-window tests. Source it from a test_*.sh script run
# by with-x11.sh; GRD_APP names the program and GRD_SCREENSHOTS the folder for
# screenshots.

set -euo pipefail
: "${GRD_APP:?GRD_APP must name the program}"
GRD_SCREENSHOTS=${GRD_SCREENSHOTS:-$PWD/screenshots}
mkdir -p "$GRD_SCREENSHOTS"
TEST_NAME=$(basename "$0" .sh)
APP_PID=

fail() {
  echo "FAIL: $*" >&2
  shot "${TEST_NAME}-failure" || true
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  exit 1
}

# Screenshot of the whole screen. ImageMagick's import shows stay-on-top tool
# windows correctly, which xwd under openbox does not.
shot() {
  import -window root "$GRD_SCREENSHOTS/$1.png"
  echo "screenshot: $GRD_SCREENSHOTS/$1.png"
}

start_app() {
  "$GRD_APP" &
  APP_PID=$!
}

# Waits for a visible window whose title is exactly $1; prints its id.
wait_window() {
  local title=$1 tries=${2:-100} id
  for _ in $(seq 1 "$tries"); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Waits until no visible window has the title $1.
wait_window_gone() {
  local title=$1
  for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Window geometry as "x y width height" (client area, root coordinates).
window_geometry() {
  local out
  out=$(xdotool getwindowgeometry --shell "$1")
  eval "$out"
  echo "$X $Y $WIDTH $HEIGHT"
}

# Moves the pointer and waits until it is there; `mousemove --sync` would wait
# forever when the pointer is already at the target.
pointer_to() {
  local x=$1 y=$2 out
  xdotool mousemove "$x" "$y"
  for _ in $(seq 1 50); do
    out=$(xdotool getmouselocation --shell)
    eval "$out"
    [ "$X" = "$x" ] && [ "$Y" = "$y" ] && return 0
    sleep 0.05
  done
  return 1
}

# Colour of the screen pixel at x y as "#RRGGBB".
pixel_at() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# Colour of the pixel at x y of the picture file $1 as "#RRGGBB", decoded by
# ImageMagick (for comparing the screen with a picture the program shows).
image_pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# "#RRGGBB" as the decimal channels "red green blue".
rgb_of() {
  local hex=${1#\#}
  echo "$((16#${hex:0:2})) $((16#${hex:2:2})) $((16#${hex:4:2}))"
}

# Waits up to ten seconds for the program to end and sets APP_RC to its exit
# code. Call it in the test's own shell, not in $(...): `wait` only knows the
# children of the shell that started them.
wait_app_exit() {
  APP_RC=
  for _ in $(seq 1 100); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      APP_RC=0
      wait "$APP_PID" || APP_RC=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The help window opens by itself shortly after start; close it through the window
# manager (Alt+F4 under openbox) so that it covers nothing, without starting the
# tour. Does nothing when it does not appear within five seconds.
dismiss_help() {
  local help
  help=$(wait_window "Instructions for Settings utility" 50) || return 0
  # Visible to a search before the window manager has taken it in: give it a moment.
  for _ in 1 2 3 4 5; do
    sleep 0.4
    xdotool windowactivate --sync "$help" 2>/dev/null || continue
    xdotool key alt+F4 2>/dev/null || continue
    wait_window_gone "Instructions for Settings utility" && return 0
  done
  fail "help window stays open"
}

# Client geometry "x y width height" in root coordinates. xdotool's
# getwindowgeometry counts the frame's offset twice for framed windows; xwininfo's
# absolute corner is exact.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

# Outer geometry "x y width height" of a framed window (client plus the frame the
# window manager announces in _NET_FRAME_EXTENTS).
frame_geometry() {
  local x y w h l r t b
  read -r x y w h < <(client_geometry "$1")
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null |
    sed -n 's/.*= *//p' | tr -d ',' || true)
  echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}

# Gives the keyboard to a window and waits until it has it.
focus_window() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" || true
  sleep 0.3
}

# Screen position "x y" of the card: below the header line it is the only thing on
# the white main window, so trimming the white away leaves its bounding box. $1 is
# the main window; $2 how far below the client's top the search starts.
board_origin() {
  local win=$1 skip=${2:-80} wx wy ww wh file ox oy bw bh
  read -r wx wy ww wh < <(client_geometry "$win")
  file=$(mktemp --suffix=.png)
  import -window root -crop "${ww}x$((wh - skip))+${wx}+$((wy + skip))" +repage "$file"
  read -r ox oy bw bh < <(convert "$file" -fuzz 1% -trim -format "%X %Y %w %h\n" info: | tr -d '+')
  rm -f "$file"
  echo "$((wx + ox)) $((wy + skip + oy)) $bw $bh"
}

# Number of pixels of exactly the colour $6 ("#RRGGBB") in the rectangle
# x y width height ($2..$5) of the picture file $1.
count_colour() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -ci " $6 " || true
}

# The colour that covers most of the rectangle x y width height ($2..$5) of the
# picture file $1, as "#RRGGBB".
main_colour() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 -format %c histogram:info:- |
    sort -rn | head -n 1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}

# Retries the command "$@" every 0.2 s until it succeeds (true) or WAIT_SECONDS
# (default 10) have passed (false); it runs at least twice.
wait_until() {
  local end=$((SECONDS + ${WAIT_SECONDS:-10})) tries=0
  while :; do
    "$@" && return 0
    tries=$((tries + 1))
    [ "$SECONDS" -ge "$end" ] && [ "$tries" -ge 2 ] && return 1
    sleep 0.2
  done
}
