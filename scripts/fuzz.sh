#!/usr/bin/env bash
# Builds the fuzz harnesses of the readers with clang and libFuzzer (in
# build-fuzz, apart from the normal build) and runs each in turn.
# Usage: fuzz.sh [SECONDS] [HARNESS...]   (default 60 seconds each, every harness)
# New inputs go to build-fuzz/corpus/<harness>; a crash stops the script and
# leaves its input in build-fuzz/findings/<harness>. Put a crash input you
# fixed into fuzz/corpus/<harness>: the test suite replays those folders.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/install-deps.sh fuzz

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRA_BUILD_FUZZERS=ON -DKESTRA_BUILD_GUI=OFF -DKESTRA_BUILD_TESTS=OFF -DKESTRA_BUILD_BENCH=OFF >/dev/null

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cpp; do
    name=$(basename "$source" .cpp)
    harnesses+=("${name%_fuzzer}")
  done
fi
targets=()
for harness in "${harnesses[@]}"; do targets+=("${harness}_fuzzer"); done
# One job: the build machine's cores are shared.
cmake --build build-fuzz -j1 --target "${targets[@]}"

# Leaks of a run cut short are not what these harnesses look for; an
# allocation beyond the memory limit is (a size read from a file, unchecked).
rssLimitMb=2048
maxInputBytes=$((1024 * 1024))
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for harness in "${harnesses[@]}"; do
  corpus=build-fuzz/corpus/$harness
  findings=build-fuzz/findings/$harness
  mkdir -p "$corpus" "$findings"
  echo "== $harness: $seconds s"
  (cd "$findings" && "../../${harness}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb="$rssLimitMb" \
    -malloc_limit_mb="$rssLimitMb" -max_len="$maxInputBytes" -print_final_stats=1 "../../corpus/$harness" "../../../fuzz/corpus/$harness")
done
echo "No harness found a crash, hang or sanitizer report."
