#!/usr/bin/env bash
# Takes the screenshot of the Binderly window kept in docs/, on a virtual X
# server (packages xvfb, x11-apps for xwd, imagemagick for convert).
#   tools/binderly_screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
out="${2:-$root/docs/binderly.png}"
if [[ "${BINDERLY_SCREENSHOT_INNER:-}" != 1 ]]; then
  exec env BINDERLY_SCREENSHOT_INNER=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$build" "$out"
fi
"$build/binderly/binderly" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  xwd -name Binderly -silent -out /tmp/binderly-shot.$$.xwd 2>/dev/null && break
  sleep 0.1
done
sleep 0.5  # let it finish drawing
xwd -name Binderly -silent -out /tmp/binderly-shot.$$.xwd
# The real ImageMagick, not a stand-in earlier on PATH.
/usr/bin/convert /tmp/binderly-shot.$$.xwd "$out"
rm -f /tmp/binderly-shot.$$.xwd
echo "wrote $out"
