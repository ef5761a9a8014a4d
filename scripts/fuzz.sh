#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 300) and prints, per target, the executions and
# the coverage libFuzzer reached. FUZZ_JOBS targets run at a time (default 1). Whatever a target
# finds stays in build-fuzz/fuzz-logs with its log; the script fails when any target failed.
#   usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-300}"
jobs="${FUZZ_JOBS:-1}"
case "$seconds$jobs" in
  *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]  (FUZZ_JOBS=N for N targets at a time)" >&2
            exit 2 ;;
esac

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKESTREL_FUZZ=ON -DKESTREL_QT=OFF -DKESTREL_TESTS=OFF \
  -DKESTREL_BENCH=OFF -DKESTREL_WERROR=ON >/dev/null
cmake --build build-fuzz
# The corpora start from the committed seeds and the demo files.
ctest --test-dir build-fuzz -R '_corpus$' --output-on-failure >/dev/null

targets=()
for binary in build-fuzz/fuzz/*_fuzz; do
  [ -x "$binary" ] && targets+=("$(basename "$binary")")
done
# Absolute paths throughout: the option parser's target changes its working folder.
fuzz="$PWD/build-fuzz/fuzz"
logs="$PWD/build-fuzz/fuzz-logs"
mkdir -p "$logs"

run() {
  local target=$1
  "$fuzz/$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$logs/$target-" \
    "$fuzz/corpus/$target" >"$logs/$target.log" 2>&1
}

failed=()
running=()
for target in "${targets[@]}"; do
  while [ "${#running[@]}" -ge "$jobs" ]; do
    wait -n || true
    still=()
    for pid in "${running[@]}"; do kill -0 "$pid" 2>/dev/null && still+=("$pid"); done
    running=("${still[@]+"${still[@]}"}")
  done
  run "$target" &
  running+=("$!")
done
wait || true

printf '%-24s %12s %8s %8s %10s  %s\n' target executions cov ft exec/s result
for target in "${targets[@]}"; do
  log="$logs/$target.log"
  # libFuzzer's last status line: "#N DONE cov: C ft: F corp: ... exec/s: E ...".
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  executions=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$last")
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
  rate=$(sed -nE 's/.* exec\/s: ([0-9]+).*/\1/p' <<<"$last")
  if grep -qE '^==[0-9]+==ERROR|deadly signal|^SUMMARY: ' "$log"; then
    result="FAILED (see $log)"
    failed+=("$target")
  else
    result=ok
  fi
  printf '%-24s %12s %8s %8s %10s  %s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" \
    "${rate:-?}" "$result"
done

[ "${#failed[@]}" -eq 0 ]
