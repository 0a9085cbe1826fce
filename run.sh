#!/usr/bin/env bash
# Builds Penvox (installing what it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPENVOX_TESTS=OFF -DPENVOX_BENCH=OFF > /dev/null
cmake --build build --target penvox penvox-cli -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Penvox is a desktop program and there is no display here (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Run it on a desktop, or under a virtual X server:  xvfb-run -a ./run.sh" >&2
  exit 1
fi
exec build/penvox "$@"
