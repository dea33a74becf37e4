#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing), then
# configures and builds the whole project in build/. With --packages-only it stops after the
# packages.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make qt6-base-dev libqt6svg6 libgtest-dev libgmock-dev libbenchmark-dev
          qt6-translations-l10n xvfb xauth imagemagick locales gdal-bin python3-ezdxf
          fonts-liberation libpugixml-dev clang libclang-rt-14-dev
          dpkg-dev openbox x11-utils desktop-file-utils poppler-utils xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

# A comma-decimal locale lets the round-trip test prove that numbers never follow the locale.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL.utf8$'; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  if [ -f /etc/locale.gen ]; then
    $sudo_cmd sed -i 's/^# *pl_PL.UTF-8 UTF-8/pl_PL.UTF-8 UTF-8/' /etc/locale.gen || true
    $sudo_cmd locale-gen >/dev/null 2>&1 || true
  fi
fi

[ "${1:-}" = "--packages-only" ] && exit 0

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
