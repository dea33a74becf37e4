#!/usr/bin/env bash
# Installs what is missing, builds only the desktop program (in build-run/, without the tests and
# benchmarks), then starts it with the examples folder as the place where its file dialogs open.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "merilon: brak ekranu graficznego; program potrzebuje pulpitu graficznego (X11 lub Wayland)" >&2
  exit 1
fi
scripts/setup.sh --packages-only
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DMERILON_BUILD_TESTS=OFF \
  -DMERILON_BUILD_BENCH=OFF >/dev/null
cmake --build build-run -j "$(nproc)" --target merilon
exec build-run/bin/merilon --data-folder "$PWD/examples" "$@"
