#!/usr/bin/env bash
# Builds everything twice (release, and with AddressSanitizer + UBSan) and runs
# every test in both builds. The last line printed is ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
jobs=$(nproc)
for preset in default asan; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
for preset in default asan; do
  echo "== test: $preset"
  ctest --preset "$preset" -j "$jobs"
done
