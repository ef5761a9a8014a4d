#!/usr/bin/env bash
# Builds the Debian package of Kestrel in build-pkg/ (kestrel_<version>_<arch>.deb): a release
# build of kestrel, kestrel-calc, kestrel-print, kestrel-report and kestrel-run without tests or benchmarks, laid out under
# /usr by the CMake install rules and packed by CPack, its dependencies read by dpkg-shlibdeps
# from the shared libraries the programs link. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

# -O2 as the tested build has it, without its debug information (GCC 12 at -O3 also warns wrongly
# inside std::string).
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_INSTALL_PREFIX=/usr -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF -DKESTREL_WERROR=ON
cmake --build build-pkg
rm -f build-pkg/kestrel_*.deb
(cd build-pkg && cpack -G DEB)

package=$(ls build-pkg/kestrel_*.deb)
dpkg-deb --info "$package"
echo "$package"
