#!/usr/bin/env bash
# Starts the program; without a display it says how to run it instead of failing
# with the toolkit's bare platform error.
set -euo pipefail
app=$1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<MSG
There is no display to show the program on (DISPLAY is not set).
Run it inside a virtual X server instead:
    xvfb-run -a -s "-screen 0 1280x1024x24" make run
MSG
  exit 1
fi
exec "$app"
