#!/usr/bin/env bash
# Starts the program; without a display it says how to run it instead of failing
# with the toolkit's bare platform error.
set -euo pipefail
app=$1

no_display() {
  cat >&2 <<MSG
$1
Either run it inside a virtual X server:
    xvfb-run -a -s "-screen 0 1280x1024x24" make run
or let it walk through every window by itself and keep screenshots:
    make demo        (pictures in build/screenshots/)
MSG
  exit 1
}

# A platform chosen explicitly other than X11 or Wayland (offscreen, vnc, ...)
# needs no display.
case ${QT_QPA_PLATFORM:-} in
  "" | xcb* | wayland*)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      no_display "There is no display to show the program on (DISPLAY is not set)."
    fi
    # DISPLAY names a server that does not answer: say so before Qt's bare error.
    if [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xdpyinfo >/dev/null &&
      ! xdpyinfo >/dev/null 2>&1; then
      no_display "The display \"$DISPLAY\" does not answer."
    fi
    ;;
esac
exec "$app"
