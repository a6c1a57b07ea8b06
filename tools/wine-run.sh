#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet, in the prefix named by
# WINEPREFIX (default: build-win/wineprefix beside this script's project).
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build-win/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"
