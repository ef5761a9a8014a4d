#!/usr/bin/env bash
# Sets up, builds and starts Kestrel on a copy of the demo working folder, so running it never
# changes the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target kestrel kestrel-calc kestrel-print kestrel-report kestrel-run

mkdir -p build/demo
cp -rn data/demo/. build/demo/
cd build/demo
exec ../kestrel "$@"
