#!/usr/bin/env bash
# Runs a command inside a fresh Xvfb server (1280 x 1024, 24 bits) with the openbox
# window manager, so that windows get frames and maximising works.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 command [args...]" >&2
  exit 2
fi
for tool in Xvfb xvfb-run openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run tools/install-deps.sh" >&2; exit 1; }
done
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
#!/usr/bin/env bash
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Wait until the window manager owns the screen.
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
rc=$?
kill "$wm" 2>/dev/null || true
exit $rc
INNER
chmod +x "$inner"
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$inner" "$@"
