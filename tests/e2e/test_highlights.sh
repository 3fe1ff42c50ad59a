#!/usr/bin/env bash
# The highlight circles in a real window: hovering a ring lights it and opens its
# popup, moving into the popup keeps it, moving out closes it; a click pins it; the
# "&Settings" menu opens and closes popups; Next walks the tour; File > Exit ends
# the program with exit code 0.
source "$(dirname "$0")/lib.sh"

# Rings on the board: name, left, top, width, height (board coordinates).
RINGS=(
  "BaseHighlight 228 173 56 86"
  "IRQHighlight0 298 275 70 35"
  "IRQHighlight1 72 283 64 40"
  "EnableHighlight 492 28 50 33"
)

# The card picture the board shows, for comparing screen pixels with its own.
CARD="$(dirname "$0")/../../resources/card.jpg"
[ -r "$CARD" ] || { echo "FAIL: no card picture at $CARD" >&2; exit 1; }

start_app
win=$(wait_window "Setup") || fail "no window titled Setup"
dismiss_help
sleep 1
read -r wx wy ww wh < <(window_geometry "$win")
echo "main window client $wx $wy ${ww}x${wh}"

# Find the card: below the header line it is the only thing on the white window,
# so trimming the white away leaves its bounding box.
skip=80
client=$(mktemp --suffix=.png)
trap 'rm -f "$client"; [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true' EXIT
import -window root -crop "${ww}x$((wh - skip))+${wx}+$((wy + skip))" +repage "$client"
read -r bx by bw bh < <(convert "$client" -fuzz 1% -trim -format "%X %Y %w %h\n" info: | tr -d '+')
bx=$((wx + bx))
by=$((wy + skip + by))
echo "board at $bx $by ${bw}x${bh}"
[ "$bw" -eq 600 ] && [ "$bh" -eq 422 ] || fail "board measures ${bw}x${bh}, not 600x422"

# Client geometry "x y width height" in root coordinates. xdotool's
# getwindowgeometry counts the frame's offset twice for framed windows; xwininfo's
# absolute corner is exact.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

ring() { # name -> "left top width height" on the screen
  local r
  for r in "${RINGS[@]}"; do
    set -- $r
    if [ "$1" = "$NAME" ]; then echo "$((bx + $2)) $((by + $3)) $4 $5"; return; fi
  done
}
centre_of() { NAME=$1; read -r l t w h < <(ring); echo "$((l + w / 2)) $((t + h / 2))"; }
# The ring's strongest line on its horizontal axis (0.875 of the half width out).
peak_of() {
  NAME=$1
  read -r l t w h < <(ring)
  echo "$((l + ((w - 1) * 30 + 16) / 32)) $((t + (h - 1) / 2))"
}
# A place on the card far from every ring and popup.
away() { echo "$((bx + 580)) $((by + 400))"; }

# The card picture's own colour at screen point x y.
card_at() { image_pixel "$CARD" $(($1 - bx)) $(($2 - by)); }

# True when colour $1 equals colour $2 up to 2 in every channel: the program and
# ImageMagick decode the picture alike up to rounding, while even the ring's faint
# inner disc moves the card's channels by 8 or more.
same_colour() {
  local r1 g1 b1 r2 g2 b2 d
  read -r r1 g1 b1 < <(rgb_of "$1")
  read -r r2 g2 b2 < <(rgb_of "$2")
  for d in $((r1 - r2)) $((g1 - g2)) $((b1 - b2)); do
    [ "${d#-}" -le 2 ] || return 1
  done
}

# True when colour $2 is colour $1 moved toward yellow or white: red and green
# each cover at least $3 percent of their way from $1 up to 255.
lighter_red_green() {
  local r1 g1 b1 r2 g2 b2
  read -r r1 g1 b1 < <(rgb_of "$1")
  read -r r2 g2 b2 < <(rgb_of "$2")
  [ $((100 * (r2 - r1))) -ge $(($3 * (255 - r1))) ] &&
    [ $((100 * (g2 - g1))) -ge $(($3 * (255 - g1))) ]
}

# True when colour $2 is colour $1 moved toward yellow: red and green rise as
# lighter_red_green checks, and blue does not rise (by more than rounding).
yellower() {
  local b1 b2
  lighter_red_green "$@" || return 1
  read -r _ _ b1 < <(rgb_of "$1")
  read -r _ _ b2 < <(rgb_of "$2")
  [ $((b2 - b1)) -le 2 ]
}

# The sample points must fall where the card is neither yellow nor white, or a
# yellow line there could not be told from the picture.
for r in "${RINGS[@]}"; do
  set -- $r
  read -r px py < <(peak_of "$1")
  read -r cr cg cb < <(rgb_of "$(card_at "$px" "$py")")
  [ "$cr" -lt 160 ] && [ "$cg" -lt 192 ] ||
    fail "$1: the card is already light ($cr,$cg,$cb) at the sample point $px,$py"
done

shot highlights-dark
# Dark rings: the card with a half-strength yellow line over it (red and green at
# least 30% of their way up to 255 from the card's own pixel, blue not up), and the
# four corners of each ring's square untouched: the card's own pixels.
for r in "${RINGS[@]}"; do
  set -- $r
  read -r px py < <(peak_of "$1")
  p=$(pixel_at "$px" "$py")
  c=$(card_at "$px" "$py")
  yellower "$c" "$p" 30 || fail "$1: ring line at $px,$py is $p, no yellow line over the card's $c"
  for corner in "$2 $3" "$(($2 + $4 - 1)) $3" "$2 $(($3 + $5 - 1))" "$(($2 + $4 - 1)) $(($3 + $5 - 1))"; do
    read -r kx ky <<<"$corner"
    p=$(pixel_at $((bx + kx)) $((by + ky)))
    c=$(card_at $((bx + kx)) $((by + ky)))
    same_colour "$p" "$c" || fail "$1: corner $kx,$ky is $p, not the card's $c"
  done
done

# Hover the base-address ring: it lights and its popup opens.
read -r cx cy < <(centre_of BaseHighlight)
read -r px py < <(peak_of BaseHighlight)
dark=$(pixel_at "$px" "$py")
pointer_to "$cx" "$cy" || fail "pointer did not reach the base ring"
pop=$(wait_window "Base Address") || fail "hovering the base ring opened no popup"
sleep 0.5
lit=$(pixel_at "$px" "$py")
echo "base ring line: card $(card_at "$px" "$py"), dark $dark, lit $lit"
# Lit: red and green at least 20% further up toward 255 than the dark line.
lighter_red_green "$dark" "$lit" 20 || fail "the base ring did not light ($dark, then $lit)"
read -r qx qy qw qh < <(client_geometry "$pop")
echo "base popup $qx $qy ${qw}x${qh}"
[ "$qw" -ge 194 ] && [ "$qh" -ge 225 ] || fail "base popup client is ${qw}x${qh}, smaller than 194x225"
shot highlights-base-popup

# Into the popup: it stays; out of it: it closes.
pointer_to $((qx + qw / 2)) $((qy + 40)) || fail "pointer did not reach the popup"
sleep 0.5
xdotool search --onlyvisible --name "^Base Address\$" >/dev/null || fail "popup closed when entered"
pointer_to $((qx + 10)) $((qy + qh - 35)) # over Previous: still inside
sleep 0.3
xdotool search --onlyvisible --name "^Base Address\$" >/dev/null || fail "popup closed over its button"
read -r ax ay < <(away)
pointer_to "$ax" "$ay"
wait_window_gone "Base Address" || fail "popup stayed after the pointer left it"
sleep 0.3
again=$(pixel_at "$px" "$py")
[ "$again" = "$dark" ] || fail "base ring still lit ($again) after its popup closed"

# Either IRQ ring lights both and opens one popup.
read -r cx cy < <(centre_of IRQHighlight1)
read -r p0x p0y < <(peak_of IRQHighlight0)
irq0_dark=$(pixel_at "$p0x" "$p0y")
pointer_to "$cx" "$cy"
pop=$(wait_window "IRQ Level") || fail "hovering an IRQ ring opened no popup"
sleep 0.5
[ "$(xdotool search --onlyvisible --name '^IRQ Level$' | wc -l)" -eq 1 ] || fail "more than one IRQ popup"
irq0_lit=$(pixel_at "$p0x" "$p0y")
echo "linked IRQ ring line: card $(card_at "$p0x" "$p0y"), dark $irq0_dark, lit $irq0_lit"
lighter_red_green "$irq0_dark" "$irq0_lit" 20 || fail "the linked IRQ ring did not light ($irq0_dark, then $irq0_lit)"
shot highlights-irq-popup
pointer_to "$ax" "$ay"
wait_window_gone "IRQ Level" || fail "IRQ popup stayed after leaving the ring"
# The other IRQ ring finds the same popup again.
read -r cx cy < <(centre_of IRQHighlight0)
pointer_to "$cx" "$cy"
wait_window "IRQ Level" >/dev/null || fail "hovering the other IRQ ring opened no popup"
sleep 0.3
[ "$(xdotool search --name '^IRQ Level$' | wc -l)" -eq 1 ] || fail "a second IRQ popup was made"
pointer_to "$ax" "$ay"
wait_window_gone "IRQ Level" || fail "IRQ popup stayed after leaving the other ring"

# A click pins the relay popup: leaving the ring keeps it.
read -r cx cy < <(centre_of EnableHighlight)
pointer_to "$cx" "$cy"
pop=$(wait_window "Relay Enabling") || fail "hovering the relay ring opened no popup"
xdotool click 1
sleep 0.3
pointer_to "$ax" "$ay"
sleep 0.5
xdotool search --onlyvisible --name "^Relay Enabling\$" >/dev/null || fail "clicked popup closed on leave"
shot highlights-relay-pinned
read -r qx qy qw qh < <(client_geometry "$pop")
# Done: 58 x 25 at (width - 64, height - 44).
pointer_to $((qx + qw - 64 + 29)) $((qy + qh - 44 + 12))
xdotool click 1
wait_window_gone "Relay Enabling" || fail "Done did not close the relay popup"
pointer_to "$ax" "$ay"

# The Settings menu opens the base-address popup pinned ...
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+s
sleep 0.5
shot highlights-settings-menu
xdotool key b
pop=$(wait_window "Base Address") || fail "the menu entry opened no popup"
sleep 0.5
shot highlights-base-from-menu
# ... and Next walks on to the IRQ popup.
read -r qx qy qw qh < <(client_geometry "$pop")
pointer_to $((qx + (qw - 58) / 2 + 29)) $((qy + qh - 44 + 12))
xdotool click 1
wait_window_gone "Base Address" || fail "Next left the base popup open"
pop=$(wait_window "IRQ Level") || fail "Next opened no IRQ popup"
pointer_to "$ax" "$ay"
sleep 0.5
xdotool search --onlyvisible --name "^IRQ Level\$" >/dev/null || fail "the tour's popup is not pinned"
# Picking the checked entry closes it.
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+s
sleep 0.5
xdotool key i
wait_window_gone "IRQ Level" || fail "the checked menu entry did not close its popup"

xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --window "$win" alt+f
sleep 0.5
xdotool key Return
# In this shell, not through $(...): a subshell cannot wait for the program, which
# is not its child. wait_app_exit leaves the exit code in APP_RC.
wait_app_exit || fail "program did not end after File > Exit"
APP_PID=
[ -n "$APP_RC" ] && [ "$APP_RC" -eq 0 ] || fail "exit code ${APP_RC:-unknown}"
echo "PASS"
