#!/usr/bin/env bash
# Builds Penvox with AddressSanitizer and UndefinedBehaviorSanitizer
# (installing what it needs) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPENVOX_SANITIZE=ON > /dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
ctest --output-on-failure -j"$(nproc)"
