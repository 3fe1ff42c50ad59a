#!/usr/bin/env bash
# A walk through the whole program as a person would take it, with the pointer and
# the keyboard only, checked by window titles, window geometry and screen pixels:
# the help window opens by itself; its Start button, Enter and Esc each start the
# tour, which Next, Previous and Done walk; each ring opens its popup when hovered,
# a click on the ring or its Settings entry pins it, the checked entry closes it;
# the pointer moving from a ring into its popup and out again closes it; both IRQ
# rings share one popup; IRQ5 chosen from the list closes only jumper "5", a click
# on jumper "12" moves the cap there; typed base addresses show in the feedback
# label and the edit box's colour; JP3 steps right, open, left; the support window
# opens from the Help menu and Esc hides it; File > Exit ends with exit code 0.
#
# With GRD_DEMO=1 it keeps a screenshot of every step and cropped pictures of the
# windows under $GRD_SCREENSHOTS/demo/.
source "$(dirname "$0")/lib.sh"

HELP="Instructions for Settings utility"
TECH="Technical Support"
BASE="Base Address"
IRQ="IRQ Level"
RELAY="Relay Enabling"
DEMO=${GRD_DEMO:-0}
DEMO_DIR="$GRD_SCREENSHOTS/demo"
[ "$DEMO" = 1 ] && mkdir -p "$DEMO_DIR"
STEP=0
SNAP=$(mktemp --suffix=.png)
trap 'rm -f "$SNAP"; [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true' EXIT

# A screenshot of a step, kept only for the demo.
step_shot() {
  STEP=$((STEP + 1))
  [ "$DEMO" = 1 ] && shot "$(printf 'walk-%02d-%s' "$STEP" "$1")" || true
}

# A picture of the screen rectangle x y width height ($2..$5) for the demo, named $1.
demo_crop() {
  [ "$DEMO" = 1 ] || return 0
  import -window root -crop "$4x$5+$2+$3" +repage "$DEMO_DIR/$1.png"
  echo "picture: $DEMO_DIR/$1.png"
}

# A demo picture of a window with its frame.
demo_window() {
  local x y w h
  read -r x y w h < <(frame_geometry "$2")
  demo_crop "$1" "$x" "$y" "$w" "$h"
}

snap() { import -window root "$SNAP"; }

visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Titles of the visible option popups, in a fixed order, separated by commas.
open_popups() {
  local t out=
  for t in "$BASE" "$IRQ" "$RELAY"; do
    visible "$t" && out="$out$t,"
  done
  echo "$out"
}

# Waits for the popup titled $1 to be the only visible option popup; prints its id.
expect_only_popup() {
  local id
  id=$(wait_window "$1") || fail "no popup titled \"$1\" (open: $(open_popups))"
  WANT_POPUPS="$1,"
  wait_until eval '[ "$(open_popups)" = "$WANT_POPUPS" ]' || fail "expected only \"$1\" open, found: $(open_popups)"
  echo "$id"
}

# Still open after the pointer has been away for a while: pinned.
expect_pinned() {
  sleep 0.8
  visible "$1" || fail "the \"$1\" popup closed although it was pinned"
}

click_at() {
  pointer_to "$1" "$2" || fail "pointer did not reach $1,$2"
  sleep 0.2
  xdotool click 1
}

# Popup buttons, 58 x 25 on a row 44 pixels above the client's bottom edge:
# Previous at the left, Next centred, Done at the right.
popup_button() { # popup id, Previous|Next|Done
  local x y w h bx
  read -r x y w h < <(client_geometry "$1")
  case $2 in
    Previous) bx=6 ;;
    Next) bx=$(((w - 58) / 2)) ;;
    Done) bx=$((w - 64)) ;;
  esac
  click_at $((x + bx + 29)) $((y + h - 44 + 12))
}

# Opens an entry of a menu of the main window by its accelerator letters.
menu() { # menu letter, entry letter
  focus_window "$WIN"
  xdotool key "alt+$1"
  sleep 0.8
  xdotool key "$2"
  sleep 0.3
}

pointer_away() { pointer_to "$AWAY_X" "$AWAY_Y" || fail "pointer did not reach the free corner"; }

# --- Start: the main window, then the help window by itself -------------------
start_app
WIN=$(wait_window "Setup") || fail "no window titled Setup"
help=$(wait_window "$HELP" 100) || fail "the help window did not open by itself"
sleep 1
read -r wx wy ww wh < <(client_geometry "$WIN")
echo "main window client $wx $wy ${ww}x${wh}"
[ "$ww" -ge 1000 ] && [ "$wh" -ge 700 ] || fail "main window is only ${ww}x${wh}: not maximised"
# A corner of the white window far from the card and from every popup.
AWAY_X=$((wx + 30))
AWAY_Y=$((wy + wh - 30))
read -r hx hy hw hh < <(client_geometry "$help")
echo "help window $hx $hy ${hw}x${hh}"
step_shot help-window
demo_window help-window "$help"

# Start with the mouse: the button sits centred at the help window's bottom.
click_at $((hx + hw / 2)) $((hy + hh - 21))
wait_window_gone "$HELP" || fail "Start did not hide the help window"
pop=$(expect_only_popup "$BASE")
pointer_away
expect_pinned "$BASE"
step_shot tour-base

# --- The tour: Next walks the Settings entries and wraps; Previous goes back ----
popup_button "$pop" Next
pop=$(expect_only_popup "$IRQ")
step_shot tour-irq
popup_button "$pop" Next
pop=$(expect_only_popup "$RELAY")
step_shot tour-relay
popup_button "$pop" Next
pop=$(expect_only_popup "$BASE")
popup_button "$pop" Previous
pop=$(expect_only_popup "$RELAY")
pointer_away
expect_pinned "$RELAY"
popup_button "$pop" Done
wait_window_gone "$RELAY" || fail "Done did not close the tour's popup"
wait_until eval '[ -z "$(open_popups)" ]' || fail "popups left open after Done: $(open_popups)"
pointer_away

# Help > How to use this program, then Enter starts the tour again.
menu h o
help=$(wait_window "$HELP") || fail "the Help menu did not show the help window"
focus_window "$help"
xdotool key Return
wait_window_gone "$HELP" || fail "Enter did not hide the help window"
pop=$(expect_only_popup "$BASE")
popup_button "$pop" Next
pop=$(expect_only_popup "$IRQ")
popup_button "$pop" Done
wait_window_gone "$IRQ" || fail "Done did not close the IRQ popup"
pointer_away

# ... and Esc as well.
menu h o
help=$(wait_window "$HELP") || fail "the Help menu did not show the help window again"
focus_window "$help"
xdotool key Escape
wait_window_gone "$HELP" || fail "Esc did not hide the help window"
pop=$(expect_only_popup "$BASE")
popup_button "$pop" Previous
pop=$(expect_only_popup "$RELAY")
popup_button "$pop" Done
wait_window_gone "$RELAY" || fail "Done did not close the relay popup"
wait_until eval '[ -z "$(open_popups)" ]' || fail "popups left open: $(open_popups)"
pointer_away
sleep 0.5

# --- The card and its rings ----------------------------------------------------
read -r bx by bw bh < <(board_origin "$WIN")
echo "board at $bx $by ${bw}x${bh}"
[ "$bw" -eq 600 ] && [ "$bh" -eq 422 ] || fail "board measures ${bw}x${bh}, not 600x422"

RINGS=(
  "BaseHighlight 228 173 56 86"
  "IRQHighlight0 298 275 70 35"
  "IRQHighlight1 72 283 64 40"
  "EnableHighlight 492 28 50 33"
)
ring() { # name -> "left top width height" on the screen
  local r
  for r in "${RINGS[@]}"; do
    set -- $r
    if [ "$1" = "$NAME" ]; then echo "$((bx + $2)) $((by + $3)) $4 $5"; return; fi
  done
  fail "no ring $NAME"
}
centre_of() { NAME=$1; read -r l t w h < <(ring); echo "$((l + w / 2)) $((t + h / 2))"; }
# A point on the ring's line on its horizontal axis (0.875 of the half width out),
# where lit and dark differ most.
line_of() {
  NAME=$1
  read -r l t w h < <(ring)
  echo "$((l + ((w - 1) * 30 + 16) / 32)) $((t + (h - 1) / 2))"
}
declare -A DARK
for r in "${RINGS[@]}"; do
  set -- $r
  read -r px py < <(line_of "$1")
  DARK[$1]=$(pixel_at "$px" "$py")
done
lit() { # ring name -> true while its line differs from the dark line
  local px py
  read -r px py < <(line_of "$1")
  [ "$(pixel_at "$px" "$py")" != "${DARK[$1]}" ]
}
dark() { ! lit "$1"; }
hover() { # ring name
  local cx cy
  read -r cx cy < <(centre_of "$1")
  pointer_to "$cx" "$cy" || fail "pointer did not reach $1"
}
step_shot rings-dark

# --- The road of one typical event: the IRQ popup --------------------------------
hover IRQHighlight0
irq=$(expect_only_popup "$IRQ")
wait_until lit IRQHighlight0 || fail "IRQHighlight0 did not light"
wait_until lit IRQHighlight1 || fail "the linked IRQHighlight1 did not light"
dark BaseHighlight || fail "BaseHighlight lit with the IRQ rings"
dark EnableHighlight || fail "EnableHighlight lit with the IRQ rings"
read -r qx qy qw qh < <(client_geometry "$irq")
echo "IRQ popup $qx $qy ${qw}x${qh}"
[ "$qw" -ge 315 ] && [ "$qh" -ge 118 ] || fail "IRQ popup is ${qw}x${qh}, smaller than its panel"
step_shot irq-hovered

# Into the popup: it stays while the pointer is inside.
pointer_to $((qx + qw - 20)) $((qy + 10)) || fail "pointer did not reach the IRQ popup"
sleep 0.8
visible "$IRQ" || fail "the IRQ popup closed when the pointer entered it"

# Jumper boxes in the panel, which sits at the popup's client origin. Label k-1
# for tags 1..6 (right group), labels 15 14 12 11 10 for tags 11..7 (left group).
jumper_box() { # tag -> "x y" of the jumper's top left corner on the screen
  local tag=$1
  if [ "$tag" -le 6 ]; then echo "$((qx + 163 + 17 * tag)) $((qy + 48))"
  else echo "$((qx + 210 - 17 * tag)) $((qy + 61))"; fi
}
LABELS=(- 2 3 4 5 6 7 10 11 12 14 15)
tag_of() { local t; for t in $(seq 1 11); do [ "${LABELS[$t]}" = "$1" ] && echo "$t"; done; }
# Space-separated labels of the closed jumpers: a closed jumper's dark red cap
# (#800000) fills its box, an open one shows the grey housing (#808080); a box
# showing neither is reported as such.
closed_jumpers() {
  local t x y boxes=
  snap
  for t in $(seq 1 11); do
    read -r x y < <(jumper_box "$t")
    boxes="$boxes${LABELS[$t]}:$((x - qx)):$((y - qy)) "
  done
  # One pass over the panel's pixels: the dark red ones counted per jumper box.
  convert "$SNAP" -crop "300x100+$qx+$qy" +repage -depth 8 txt:- |
    awk -v boxes="$boxes" '
      BEGIN { n = split(boxes, b, " ")
              for (i = 1; i <= n; i++) { split(b[i], f, ":"); lab[i] = f[1]; bx[i] = f[2]; by[i] = f[3] } }
      / #800000 | #808080 / { split($1, p, "[,:]"); x = p[1] + 0; y = p[2] + 0
        red = index($0, " #800000 ") > 0
        for (i = 1; i <= n; i++)
          if (x >= bx[i] && x < bx[i] + 18 && y >= by[i] && y < by[i] + 34) { if (red) c[i]++; else g[i]++ } }
      END { out = ""
            for (i = 1; i <= n; i++) {
              if (c[i] > 18 * 34 / 2) word = lab[i]
              else if (g[i] > 18 * 34 / 4) continue
              else word = "neither-open-nor-closed:" lab[i]
              out = out (out == "" ? "" : " ") word }
            print out }'
}
closed_are() { GOT=$(closed_jumpers); [ "$GOT" = "$WANT" ]; }
expect_closed() { # expected labels, what happened
  WANT=$1
  wait_until closed_are || fail "after $2 the closed jumpers are \"$GOT\", not \"$1\""
  echo "closed jumpers after $2: \"${1}\""
}
expect_closed "" "opening the popup"

# Choose IRQ5 with the keyboard: the list holds "None", then IRQ2, 3, 4, 5.
click_at $((qx + 88 + 40)) $((qy + 21 + 10))
sleep 0.3
expect_closed "" "focusing the list"
xdotool key Down Down Down Down
expect_closed "5" "choosing IRQ5"
step_shot irq5
demo_window popup-irq "$irq"
# The main window with its lit rings, cut to the card and the popup beside it.
read -r fx fy fw fh < <(frame_geometry "$irq")
mx=$(( (bx < fx ? bx : fx) - 10 )); my=$(( (by < fy ? by : fy) - 10 ))
mr=$(( (bx + bw > fx + fw ? bx + bw : fx + fw) + 10 ))
mb=$(( (by + bh > fy + fh ? by + bh : fy + fh) + 10 ))
demo_crop main-window "$mx" "$my" $((mr - mx)) $((mb - my))

# Click jumper "12": its cap closes, "5" opens.
read -r x y < <(jumper_box "$(tag_of 12)")
click_at $((x + 9)) $((y + 17))
expect_closed "12" "clicking jumper 12"
step_shot irq12
shot walk-irq12 # the list shows IRQ12: look at it
# Clicked again, it opens: no jumper is closed.
click_at $((x + 9)) $((y + 17))
expect_closed "" "clicking jumper 12 again"
# Typing the item's name chooses it as well.
click_at $((qx + 88 + 40)) $((qy + 21 + 10))
xdotool key ctrl+a
xdotool type --delay 80 "IRQ5"
expect_closed "5" "typing IRQ5"

# Done hides it and both rings go dark.
popup_button "$irq" Done
wait_window_gone "$IRQ" || fail "Done did not close the IRQ popup"
pointer_away
wait_until dark IRQHighlight0 || fail "IRQHighlight0 stays lit after Done"
wait_until dark IRQHighlight1 || fail "IRQHighlight1 stays lit after Done"

# The other IRQ ring opens the very same popup: still one window of that title
# (Qt gives a closed window a new X window when it is shown again), in the same
# place and size, still showing IRQ5; out of it again closes it.
read -r ox oy ow oh <<<"$qx $qy $qw $qh"
hover IRQHighlight1
irq=$(expect_only_popup "$IRQ")
[ "$(xdotool search --name "^$IRQ\$" | wc -l)" -eq 1 ] || fail "IRQHighlight1 made a second IRQ popup"
wait_until lit IRQHighlight0 || fail "the linked IRQHighlight0 did not light"
read -r qx qy qw qh < <(client_geometry "$irq")
[ "$qx $qy $qw $qh" = "$ox $oy $ow $oh" ] || fail "the IRQ popup came back at $qx $qy ${qw}x${qh}, not $ox $oy ${ow}x${oh}"
expect_closed "5" "showing the popup again from the other ring"
pointer_to $((qx + qw - 20)) $((qy + 10)) || fail "pointer did not reach the IRQ popup"
sleep 0.8
visible "$IRQ" || fail "the IRQ popup closed when the pointer entered it"
pointer_away
wait_window_gone "$IRQ" || fail "the IRQ popup stayed after the pointer left it"
wait_until dark IRQHighlight1 || fail "IRQHighlight1 stays lit after its popup closed"
# Leaving the ring elsewhere closes the unpinned popup too.
hover IRQHighlight0
expect_only_popup "$IRQ" >/dev/null
pointer_away
wait_window_gone "$IRQ" || fail "leaving the ring kept an unpinned popup"

# --- Base address: hover, pin by a click on the ring, type addresses -------------
hover BaseHighlight
base=$(expect_only_popup "$BASE")
wait_until lit BaseHighlight || fail "BaseHighlight did not light"
xdotool click 1
pointer_away
expect_pinned "$BASE"
read -r qx qy qw qh < <(client_geometry "$base")
echo "base popup $qx $qy ${qw}x${qh}"
# The edit box (24,40 41x21), the feedback label (8,64 73x17), the switch
# picture (88,8 61x102), all in the panel at the popup's client origin.
edit_colour() { snap; main_colour "$SNAP" $((qx + 24)) $((qy + 40)) 41 21; }
label_ink() { # dark pixels of the feedback label's text
  snap
  convert "$SNAP" -crop "73x17+$((qx + 8))+$((qy + 64))" +repage -colorspace Gray \
    -threshold 40% -format '%[fx:int(w*h*(1-mean))]' info:
}
switch_crc() { snap; convert "$SNAP" -crop "61x102+$((qx + 88))+$((qy + 8))" +repage -format '%#' info:; }
PANEL=$(pixel_at $((qx + 4)) $((qy + 4)))
WHITE=$(edit_colour)
echo "panel colour $PANEL, edit box $WHITE"
[ "$WHITE" != "$PANEL" ] || fail "the edit box starts in the panel's colour $PANEL"
switch_200=$(switch_crc)

type_address() {
  click_at $((qx + 24 + 20)) $((qy + 40 + 10))
  xdotool key ctrl+a
  xdotool type --delay 80 "$1"
  sleep 0.3
}
type_address 3F8
wait_until eval '[ "$(label_ink)" -eq 0 ]' || fail "the feedback label shows text for 3F8"
[ "$(edit_colour)" = "$WHITE" ] || fail "the edit box is $(edit_colour) for 3F8"
switch_3f8=$(switch_crc)
[ "$switch_3f8" != "$switch_200" ] || fail "the switch picture did not change for 3F8"
type_address 2F3
wait_until eval '[ "$(label_ink)" -gt 20 ]' || fail "the feedback label shows nothing for 2F3"
step_shot base-2f3
shot walk-base-2f3 # the label shows 2F0: look at it
demo_window popup-base "$base"
switch_2f0=$(switch_crc)
[ "$switch_2f0" != "$switch_3f8" ] || fail "the switch picture did not change for 2F3"
ink_2f3=$(label_ink)
type_address 123456789
wait_until eval '[ "$(edit_colour)" = "$PANEL" ]' || fail "the edit box is $(edit_colour), not the panel's $PANEL, for 123456789"
step_shot base-unusable
switch_bad=$(switch_crc)
type_address 2F0
wait_until eval '[ "$(edit_colour)" = "$WHITE" ]' || fail "the edit box stays $(edit_colour) after a usable address"
wait_until eval '[ "$(label_ink)" -eq 0 ]' || fail "the feedback label shows text for 2F0"
[ "$(switch_crc)" = "$switch_2f0" ] || fail "the switch picture for 2F0 differs from the one for 2F3"
[ "$switch_bad" != "$switch_2f0" ] || fail "the switch did not follow the digits before the unusable one"
[ "$ink_2f3" -gt 0 ] || fail "no label text"
pointer_away
# The checked menu entry closes the pinned popup.
menu s b
wait_window_gone "$BASE" || fail "the checked Base Address entry did not close its popup"
wait_until dark BaseHighlight || fail "BaseHighlight stays lit after its popup closed"

# --- Relay enabling: the menu entry opens it pinned; JP3 steps through its cycle ---
menu s e
relay=$(expect_only_popup "$RELAY")
pointer_away
expect_pinned "$RELAY"
wait_until lit EnableHighlight || fail "EnableHighlight did not light"
read -r qx qy qw qh < <(client_geometry "$relay")
echo "relay popup $qx $qy ${qw}x${qh}"
# JP3, 43 x 18 at (194,19): the left cap covers x 0..26, the right one 15..42, so
# dark red at 0..14 only means left, at 27..42 only means right, none means open.
jp3_state() {
  local x=$((qx + 194)) y=$((qy + 19)) l r
  snap
  l=$(count_colour "$SNAP" "$x" "$y" 15 18 "#800000")
  r=$(count_colour "$SNAP" $((x + 27)) "$y" 16 18 "#800000")
  if [ "$l" -gt 0 ] && [ "$r" -eq 0 ]; then echo left
  elif [ "$r" -gt 0 ] && [ "$l" -eq 0 ]; then echo right
  elif [ "$((l + r))" -eq 0 ] && [ "$(count_colour "$SNAP" "$x" "$y" 43 18 "#800000")" -eq 0 ]; then echo open
  else echo "unclear($l,$r)"; fi
}
jp3_is() { GOT=$(jp3_state); [ "$GOT" = "$WANT" ]; }
expect_jp3() {
  WANT=$1
  wait_until jp3_is || fail "after $2 JP3 is $GOT, not $1"
  echo "JP3 after $2: $1"
}
expect_jp3 left "opening the popup"
demo_window popup-relay "$relay"
for want in right open left; do
  click_at $((qx + 194 + 21)) $((qy + 19 + 9))
  expect_jp3 "$want" "a click"
  step_shot "jp3-$want"
done
pointer_away
menu s e
wait_window_gone "$RELAY" || fail "the checked Relay Enabling entry did not close its popup"

# --- Technical support -------------------------------------------------------------
menu h t
tech=$(wait_window "$TECH") || fail "Help > Technical Support did not show the support window"
sleep 0.5
step_shot support
demo_window support-window "$tech"
focus_window "$tech"
xdotool key Escape
wait_window_gone "$TECH" || fail "Esc did not hide the support window"

# --- File > Exit ------------------------------------------------------------------
menu f e
wait_app_exit || fail "program did not end after File > Exit"
rc=$APP_RC
APP_PID=
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "PASS"
