#!/usr/bin/env bash
# Sets up and builds what is missing, then starts the desktop program with the examples folder
# as the place where its file dialogs open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/bin/merilon --data-folder "$PWD/examples" "$@"
