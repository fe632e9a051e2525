#!/usr/bin/env bash
# Runs the screenshot program on a virtual X display. Skipped (exit 77) on a
# machine without xvfb-run; scripts/setup installs it.
set -euo pipefail
program=$1
picture=$2
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "skipped: xvfb-run is not installed"
  exit 77
fi
exec xvfb-run -a -s "-screen 0 1366x768x24" env QT_QPA_PLATFORM=xcb "$program" "$picture"
