#!/usr/bin/env bash
# Sets up, builds (warnings are errors) and runs every test through CTest: the unit and window
# tests, the Qt renderer tests offscreen, and every fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WERROR=ON
cmake --build build-test
cmake --build build-test --target format-check
ctest --test-dir build-test --output-on-failure

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKESTREL_FUZZ=ON -DKESTREL_QT=OFF -DKESTREL_TESTS=OFF \
  -DKESTREL_BENCH=OFF -DKESTREL_WERROR=ON
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure
