#!/usr/bin/env bash
# Sets up, builds (warnings are errors) and runs every test through CTest: the unit and window
# tests, the Qt renderer tests offscreen, a pay stub printed to a real CUPS queue, and every fuzz
# target for a few seconds; then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Debian package built, unpacked into a scratch root and run
# from there.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WERROR=ON
cmake --build build-test
cmake --build build-test --target format-check
# The CUPS test starts a scheduler of its own with a cups-pdf queue; that needs root, which CI
# has, so there it must run rather than skip.
if [ "$(id -u)" -eq 0 ]; then export KESTREL_REQUIRE_CUPS=1; fi
ctest --test-dir build-test --output-on-failure

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKESTREL_FUZZ=ON -DKESTREL_QT=OFF -DKESTREL_TESTS=OFF \
  -DKESTREL_BENCH=OFF -DKESTREL_WERROR=ON
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure

# Every test of the core again under AddressSanitizer and UndefinedBehaviorSanitizer (no Qt, so
# the build stays short). A report aborts the process that made it; every process, the programs
# the tests start included, also writes its reports into one folder, so a report from a child
# fails the run even when its test only looked at the child's output.
# Clang compiles the instrumented tests in about half GCC's time; Debug keeps the assertions,
# with -O1 and line tables only, so reports still name the lines.
cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DKESTREL_QT=OFF -DKESTREL_BENCH=OFF -DKESTREL_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only \
  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build-asan
reports="$PWD/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
status=0
ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1" \
  UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1" \
  ctest --test-dir build-asan --output-on-failure || status=$?
if [ -n "$(ls -A "$reports")" ]; then
  echo "Sanitizer reports:" >&2
  cat "$reports"/* >&2
  exit 1
fi
[ "$status" -eq 0 ] || exit "$status"

# The Debian package: built, unpacked with dpkg -x into a scratch root, and the installed programs
# run there on the installed files.
./scripts/package.sh
package=$(ls build-pkg/kestrel_*.deb)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$package" "$scratch/root"
usr="$scratch/root/usr"
for file in bin/kestrel bin/kestrel-calc bin/kestrel-print bin/kestrel-report bin/kestrel-run share/kestrel/Fedtaxx.tax \
  share/kestrel/Kestrel.hlp share/icons/hicolor/scalable/apps/kestrel.svg \
  share/applications/kestrel.desktop; do
  [ -f "$usr/$file" ] || { echo "The package has no /usr/$file" >&2; exit 1; }
done
depends=$(dpkg-deb --field "$package" Depends)
for library in libqt6widgets6 libqt6printsupport6 libxlsxwriter; do
  grep -q "$library" <<<"$depends" || { echo "The package does not depend on $library: $depends" >&2; exit 1; }
done
desktop-file-validate "$usr/share/applications/kestrel.desktop"

# The installed kestrel-calc on the installed table file gives the figures of the tested one.
period=(--straight 40 --rate1 12.50 --federal-allowances 1 --ot15 3)
installed=$(cd "$usr/share/kestrel" && "$usr/bin/kestrel-calc" "${period[@]}")
calc="$PWD/build-test/kestrel-calc"
tested=$(cd data/demo && "$calc" "${period[@]}")
if [ "$installed" != "$tested" ]; then
  echo "The installed kestrel-calc differs from the tested one:" >&2
  diff <(echo "$tested") <(echo "$installed") >&2 || true
  exit 1
fi
grep -q '"FederalTax"' <<<"$installed"

# The installed kestrel-report on the demo registers gives the tested one's table.
report=(--quarter 1 --year 2005)
reporter="$PWD/build-test/kestrel-report"
installed=$(cd data/demo && "$usr/bin/kestrel-report" "${report[@]}")
tested=$(cd data/demo && "$reporter" "${report[@]}")
if [ "$installed" != "$tested" ]; then
  echo "The installed kestrel-report differs from the tested one:" >&2
  diff <(echo "$tested") <(echo "$installed") >&2 || true
  exit 1
fi
grep -q '"deposit"' <<<"$installed"

# Started as the menu entry starts it, kestrel makes the user's folder and copies the installed
# files into it.
home="$scratch/home"
mkdir -p "$home"
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/applications/kestrel.desktop")
read -r -a command <<<"$exec_line"
(cd / && HOME="$home" PATH="$usr/bin:$PATH" QT_QPA_PLATFORM=offscreen exec "${command[@]}") &
kestrel=$!
for _ in $(seq 100); do
  [ -f "$home/Kestrel/Kestrel.hlp" ] && break
  sleep 0.2
done
kill "$kestrel" 2>/dev/null || true
wait "$kestrel" 2>/dev/null || true
cmp "$home/Kestrel/Fedtaxx.tax" "$usr/share/kestrel/Fedtaxx.tax"
cmp "$home/Kestrel/Kestrel.hlp" "$usr/share/kestrel/Kestrel.hlp"
echo "Package check: $package installs kestrel, kestrel-calc, kestrel-print, kestrel-report and kestrel-run and runs from a scratch root"
