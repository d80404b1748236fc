#!/usr/bin/env bash
# Builds the kit and starts its main program, the page editor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
if [ -x build/default/kit/quom ]; then
  exec build/default/kit/quom "$@"
fi
exec build/default/tools/qmx "$@"
