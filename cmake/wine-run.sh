#!/usr/bin/env bash
# Runs a Windows program of the cross build under wine64, in the Wine prefix ZARN_WINEPREFIX
# names (by default one beside the tests in /tmp), without Wine's own chatter.
set -euo pipefail
export WINEPREFIX=${ZARN_WINEPREFIX:-${TMPDIR:-/tmp}/zarn-wine-$(id -u)}
export WINEDEBUG=${WINEDEBUG:--all}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine-run.sh: $wine is not installed (Debian package wine64)" >&2; exit 1; }
exec "$wine" "$@"
