#!/usr/bin/env bash
# Without a display the desktop program and scripts/run.sh say so in one line (and run.sh says it
# before building anything), instead of Qt's advice to reinstall the application.
# Usage: no_display_test.sh MERILON RUN_SH
set -uo pipefail
merilon=$1
run_sh=$2
failed=0

expect_one_line() {
  local what=$1 status=$2 err=$3
  local lines
  lines=$(printf '%s' "$err" | grep -c '')
  if [ "$status" -eq 0 ] || [ "$lines" -ne 1 ] || ! grep -q 'ekranu graficznego' <<<"$err" ||
     grep -qi 'reinstall' <<<"$err"; then
    echo "FAIL: $what (status $status, $lines lines):"
    printf '%s\n' "$err"
    failed=1
  fi
}

err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$merilon" 2>&1 >/dev/null)
expect_one_line "no display variable" $? "$err"

err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:9876 "$merilon" 2>&1 >/dev/null)
expect_one_line "a display that does not answer" $? "$err"

start=$SECONDS
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$run_sh" 2>&1 >/dev/null)
expect_one_line "scripts/run.sh" $? "$err"
if [ $((SECONDS - start)) -gt 10 ]; then
  echo "FAIL: scripts/run.sh took $((SECONDS - start)) s before saying that there is no display"
  failed=1
fi
exit $failed
