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
